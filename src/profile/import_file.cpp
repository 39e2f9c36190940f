#include "profile/import_file.h"

#include <json/reader.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

namespace profile {

ImportFile ReadImportFile(const std::string& path, std::size_t maxBytes) {
    ImportFile file;
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return file;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        file.status = ImportFile::Status::kUnreadable;
        return file;
    }
    if (size > maxBytes) {
        file.status = ImportFile::Status::kTooLarge;
        return file;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        file.status = ImportFile::Status::kUnreadable;
        return file;
    }
    // Read one byte more than allowed, so that a file that grew since its size was taken is still
    // caught.
    file.text.resize(maxBytes + 1);
    in.read(file.text.data(), static_cast<std::streamsize>(file.text.size()));
    if (in.bad()) {
        file.text.clear();
        file.status = ImportFile::Status::kUnreadable;
        return file;
    }
    file.text.resize(static_cast<std::size_t>(in.gcount()));
    if (file.text.size() > maxBytes) {
        file.text.clear();
        file.status = ImportFile::Status::kTooLarge;
        return file;
    }

    Json::CharReaderBuilder builder;
    bool parsed = false;
    try {
        const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        parsed = reader->parse(file.text.data(), file.text.data() + file.text.size(),
                               &file.document, nullptr);
    } catch (const std::exception&) {
        parsed = false;  // nested beyond the reader's depth limit
    }
    file.status = parsed && file.document.isObject() ? ImportFile::Status::kRead
                                                     : ImportFile::Status::kNotJson;
    if (!file.ok()) file.document = Json::Value();
    return file;
}

const char* ImportStatusText(ImportFile::Status status) {
    switch (status) {
        case ImportFile::Status::kRead:
            return "read";
        case ImportFile::Status::kMissing:
            return "no such file";
        case ImportFile::Status::kTooLarge:
            return "too large";
        case ImportFile::Status::kUnreadable:
            return "cannot be read";
        case ImportFile::Status::kNotJson:
            return "not a JSON object";
    }
    return "?";
}

}  // namespace profile
