#include "app/language_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/control_ui.h"
#include "toolkit/resource_manager.h"
#include "toolkit/testing/skin_fixture.h"

namespace app {
namespace {

constexpr const char* kConfig = R"({"Language": [
  {"Language_name": "zh_CN", "Language_file": "lan_cn.xml", "Language_ID": 2052},
  {"Language_name": "en", "Language_file": "lan_en.xml", "Language_ID": 1033},
  {"Language_name": "zh_TW", "Language_file": "lan_tw.xml", "Language_ID": 1028},
  {"Language_name": "de", "Language_file": "lan_de.xml", "Language_ID": 1031}
]})";

class LanguageSettingsTest : public toolkit::testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteFile("Language.config", kConfig);
        WriteFile("lan_cn.xml", R"(<Language name="zh_CN"><Text id="t" value="设置"/></Language>)");
        WriteFile("lan_en.xml",
                  R"(<Language name="en"><Text id="t" value="Settings"/></Language>)");
        WriteFile("lan_de.xml",
                  R"(<Language name="de"><Text id="t" value="Einstellungen"/></Language>)");
        WriteFile("main.xml", R"(<Window size="200,100"><VerticalLayout name="root">
            <Label name="l" resourcetext="true" text="t"/></VerticalLayout></Window>)");
        ASSERT_NE(Open("main.xml"), nullptr);
        store_ = std::make_unique<os::SettingsStore>(dir_ + "/settings.ini");
    }
    std::string Label() { return pm().FindControl("l")->GetText(); }
    std::string Face() { return pm().GetDefaultFontInfo().sFontName; }

    std::unique_ptr<os::SettingsStore> store_;
};

TEST_F(LanguageSettingsTest, StoredIndexFallsBackToTheFirstEntry) {
    LanguageSettings language(*store_, dir_ + "/Language.config");
    EXPECT_EQ(language.StoredIndex(), 0);  // no key, no value
    store_->CreateKey(LanguageSettings::kKey);
    EXPECT_EQ(language.StoredIndex(), 0);
    store_->SetDword(LanguageSettings::kKey, LanguageSettings::kValue, 1031);
    EXPECT_EQ(language.StoredIndex(), 3);
    store_->SetDword(LanguageSettings::kKey, LanguageSettings::kValue, 9999);
    EXPECT_EQ(language.StoredIndex(), 0);
    store_->SetDword(LanguageSettings::kKey, LanguageSettings::kValue, 1033);
    LanguageSettings noConfig(*store_, dir_ + "/missing.config");
    EXPECT_EQ(noConfig.StoredIndex(), 0);
    WriteFile("broken.config", R"({"Language": [1, "two", {"Language_ID": "1033"}]})");
    LanguageSettings broken(*store_, dir_ + "/broken.config");
    EXPECT_EQ(broken.StoredIndex(), 0);
    EXPECT_TRUE(broken.ApplyLanguage(1, pm()));  // a damaged entry changes the face only
}

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment {
  public:
    LocaleEnvironment(const char* all, const char* messages, const char* lang) {
        Set("LC_ALL", all);
        Set("LC_MESSAGES", messages);
        Set("LANG", lang);
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

  private:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(LanguageSettingsTest, TheFirstStartTakesTheLanguageFromTheLocale) {
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        uint32_t stored;
    };
    const Case cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", 1031},
        {nullptr, nullptr, "zh_TW.UTF-8", 1028},
        {nullptr, nullptr, "zh_SG.UTF-8", 2052},  // the first entry of the language
        {nullptr, nullptr, "de_AT.UTF-8@euro", 1031},
        {nullptr, "zh_CN.UTF-8", "de_DE.UTF-8", 2052},        // LC_MESSAGES before LANG
        {"de_CH.UTF-8", "zh_CN.UTF-8", "fr_FR.UTF-8", 1031},  // LC_ALL before both
        {"", "", "zh_TW", 1028},                              // empty ones do not count
        {nullptr, nullptr, "fr_FR.UTF-8", 1033},              // not in the file: English
        {nullptr, nullptr, "C.UTF-8", 1033},
        {"POSIX", nullptr, "de_DE.UTF-8", 1033},
        {nullptr, nullptr, nullptr, 1033},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.all ? c.all : "-") + " " + (c.messages ? c.messages : "-") +
                     " " + (c.lang ? c.lang : "-"));
        LocaleEnvironment env(c.all, c.messages, c.lang);
        store_->DeleteKey(LanguageSettings::kKey);
        LanguageSettings language(*store_, dir_ + "/Language.config");
        language.EnsureKey();
        EXPECT_EQ(store_->GetDword(LanguageSettings::kKey, LanguageSettings::kValue), c.stored);
    }
    // Later starts keep what is stored, whatever the locale says now.
    LocaleEnvironment env(nullptr, nullptr, "de_DE.UTF-8");
    store_->SetDword(LanguageSettings::kKey, LanguageSettings::kValue, 1028);
    LanguageSettings language(*store_, dir_ + "/Language.config");
    language.EnsureKey();
    EXPECT_EQ(store_->GetDword(LanguageSettings::kKey, LanguageSettings::kValue), 1028u);
    EXPECT_EQ(language.StoredIndex(), 2);
    // Without an English entry English is still its usual id.
    WriteFile("no_en.config", R"({"Language": [{"Language_name": "de", "Language_ID": 1031}]})");
    EXPECT_EQ(LanguageSettings(*store_, dir_ + "/no_en.config").LocaleLanguageId("sv_SE.UTF-8"),
              LanguageSettings::kEnglishId);
}

TEST_F(LanguageSettingsTest, ApplyingSwitchesTextsFacesAndTheStoredChoice) {
    LanguageSettings language(*store_, dir_ + "/Language.config");
    // Without the key (never installed) nothing is stored.
    EXPECT_TRUE(language.ApplyLanguage(0, pm()));
    EXPECT_EQ(Label(), "设置");
    EXPECT_EQ(Face(), "汉仪菱心体简");
    EXPECT_FALSE(store_->GetDword(LanguageSettings::kKey, LanguageSettings::kValue));

    language.EnsureKey();
    EXPECT_TRUE(language.ApplyLanguage(1, pm()));
    EXPECT_EQ(Label(), "Settings");
    EXPECT_EQ(Face(), "Verdana Unicode MS");
    EXPECT_EQ(store_->GetDword(LanguageSettings::kKey, LanguageSettings::kValue), 1033u);
    EXPECT_EQ(pm().GetFontInfo(50)->iSize, 18);
    EXPECT_TRUE(pm().GetFontInfo(50)->bBold);
    EXPECT_TRUE(pm().GetFontInfo(1)->bUnderline);

    // The current index again: nothing at all, not even the stored value.
    store_->SetDword(LanguageSettings::kKey, LanguageSettings::kValue, 7);
    EXPECT_FALSE(language.ApplyLanguage(1, pm()));
    EXPECT_EQ(store_->GetDword(LanguageSettings::kKey, LanguageSettings::kValue), 7u);

    // From 1 to 3 the fonts stay (here: a face set by hand survives).
    LanguageSettings::RebuildFontTable(pm(), "Marker Face");
    EXPECT_TRUE(language.ApplyLanguage(3, pm()));
    EXPECT_EQ(Face(), "Marker Face");
    EXPECT_EQ(Label(), "Einstellungen");
    EXPECT_EQ(store_->GetDword(LanguageSettings::kKey, LanguageSettings::kValue), 1031u);

    // A language file that is missing leaves the texts as they were.
    EXPECT_TRUE(language.ApplyLanguage(2, pm()));
    EXPECT_EQ(Face(), "Noto Sans CJK TC Regular");
    EXPECT_EQ(Label(), "Einstellungen");
}

TEST_F(LanguageSettingsTest, TheSkinsOwnFontsGiveWayToTheLanguagesFace) {
    // Like the main skin: a default font and numbered fonts of the window's own.
    WriteFile("own.xml", R"(<Window size="200,100">
        <Font name="Old Face" size="13" default="true"/>
        <Font id="2" name="Old Face" size="17"/>
        <VerticalLayout name="root"><Label name="l" text="x"/>
        <Label name="big" font="2" text="y"/></VerticalLayout></Window>)");
    ASSERT_NE(Open("own.xml"), nullptr);
    ASSERT_EQ(Face(), "Old Face");
    LanguageSettings language(*store_, dir_ + "/Language.config");
    EXPECT_TRUE(language.ApplyLanguage(1, pm()));
    for (int id : {-1, 2, 50}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(pm().GetFontInfo(id)->sFontName, "Verdana Unicode MS");
        EXPECT_STREQ(pango_font_description_get_family(pm().GetFontDescription(id)),
                     "Verdana Unicode MS");
    }
    EXPECT_EQ(pm().GetFontInfo(-1)->iSize, 14);
    EXPECT_EQ(pm().GetFontInfo(2)->iSize, 18);
}

TEST(LanguageFaces, FollowTheLanguageAndWhereItComesFrom) {
    EXPECT_EQ(LanguageSettings::FaceFor(15, 1), "Noto Sans Thai");
    EXPECT_EQ(LanguageSettings::FaceFor(0, 1), "汉仪菱心体简");
    EXPECT_EQ(LanguageSettings::FaceFor(2, 1), "Noto Sans CJK TC Regular");
    for (int from : {15, -1, 2, 0})
        EXPECT_EQ(LanguageSettings::FaceFor(4, from), "Verdana Unicode MS");
    EXPECT_EQ(LanguageSettings::FaceFor(4, 1), std::nullopt);
    EXPECT_EQ(LanguageSettings::FaceFor(1, 3), std::nullopt);
}

}  // namespace
}  // namespace app
