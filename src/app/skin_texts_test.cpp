// The shipped skins and language files agree: every text a skin marks as a language text id has
// an entry in every language file, and all language files hold the same ids, so no window ever
// shows a bare id such as "title_skin" in any language.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace app {
namespace {

namespace fs = std::filesystem;

std::set<std::string> LanguageIds(const fs::path& file) {
    std::set<std::string> ids;
    pugi::xml_document doc;
    if (!doc.load_file(file.c_str())) return ids;
    for (pugi::xml_node t : doc.child("Language").children("Text"))
        ids.insert(t.attribute("id").as_string());
    return ids;
}

bool IsLanguageFile(const fs::path& p) {
    return p.filename().string().rfind("lan_", 0) == 0;
}

TEST(SkinTexts, EveryResourceTextOfEverySkinExistsInEveryLanguageFile) {
    const fs::path skin = fs::path(BRASVIK_BINARY_DIR) / "skin";
    ASSERT_TRUE(fs::is_directory(skin)) << skin;

    std::vector<fs::path> languages, skins;
    for (const auto& e : fs::recursive_directory_iterator(skin)) {
        if (!e.is_regular_file() || e.path().extension() != ".xml") continue;
        if (IsLanguageFile(e.path()))
            languages.push_back(e.path());
        else if (e.path().filename() != "res.xml")
            skins.push_back(e.path());
    }
    ASSERT_GE(languages.size(), 16u);
    ASSERT_FALSE(skins.empty());

    const std::set<std::string> english = LanguageIds(skin / "lan_en.xml");
    ASSERT_FALSE(english.empty());
    for (const fs::path& lan : languages)
        EXPECT_EQ(LanguageIds(lan), english) << lan.filename() << " differs from lan_en.xml";

    for (const fs::path& file : skins) {
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file(file.c_str())) << file;
        for (pugi::xpath_node x : doc.select_nodes("//*[@resourcetext='true']")) {
            const pugi::xml_node n = x.node();
            for (const char* attr : {"text", "tooltip"}) {
                const std::string id = n.attribute(attr).as_string();
                if (id.empty()) continue;
                EXPECT_TRUE(english.count(id)) << file.filename() << ": <" << n.name() << " name=\""
                                               << n.attribute("name").as_string() << "\"> " << attr
                                               << "=\"" << id << "\" has no language text";
            }
        }
    }
}

}  // namespace
}  // namespace app
