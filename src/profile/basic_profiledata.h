#pragma once

#include <json/value.h>

#include <string>
#include <vector>

#include "profile/json_file.h"
#include "profile/profile_records.h"

namespace profile {

// A device's profile document: the paths of its files, its device section of the selected profile
// (the current section), a second section for editing a profile that is not selected (the scratch
// section), and decoded copies of the records read last. A profile file holds one section per
// device slot under "Device"; a section the file lacks comes from the default template.
//
// Reads never fail: what is missing or of the wrong type reads as its default. Writes change the
// section in memory; Save and its relatives put it on disk, atomically, and say whether they did.
// Used from the UI thread only.
class CBasicProfiledata {
  public:
    CBasicProfiledata() = default;
    virtual ~CBasicProfiledata() = default;
    CBasicProfiledata(const CBasicProfiledata&) = delete;
    CBasicProfiledata& operator=(const CBasicProfiledata&) = delete;

    // Paths and slot. Empty profile and default paths are ignored.
    void SetProfilePath(const std::string& path);
    std::string GetProfilePath() const { return profilePath_; }
    void SetDefaultPath(const std::string& path);
    void SetLightLibraryPath(const std::string& path) { lightLibraryPath_ = path; }
    std::string GetLightLibraryPath() const { return lightLibraryPath_; }
    // Refused (and logged) beyond kMaxIndex: the slot indexes the file's "Device" array.
    void SetDeviceSlot(int slot);
    int GetDeviceSlot() const { return deviceSlot_; }

    // What a load found.
    enum class LoadResult {
        kLoaded,  // the file had this slot's section
        // The section came from the default template; it is stored in the file when the file can
        // be written (a failed write is logged; the next Save tries again).
        kFromTemplate,
        kNoSection,  // neither file had one: the section is null, every read gives defaults
        // The profile file is there but could not be read. It is left as it is; the section comes
        // from the template for use in memory, and saving that section is refused until a later
        // load reads the file.
        kUnreadable,
    };

    // Loading. A file without this slot's section gets it from the default template and is
    // rewritten at once; a damaged file is kept aside first. Returns a copy of the section (null
    // when neither file has one).
    Json::Value LoadSection(const std::string& path, LoadResult* result = nullptr);
    Json::Value LoadScratchSection(const std::string& path, LoadResult* result = nullptr);
    // The "profilename" of the file read by the last LoadSection.
    std::string GetProfileName() const { return profileName_; }

    // Saving; each returns false, with the old file left whole, when the file could not be written
    // or must not be: it is there but cannot be read, or it is damaged and no copy of it could be
    // kept. Save: the current section into the profile file.
    virtual bool Save();
    // Replaces "Device"[slot] of the file at path; the rest of the file is kept. A section that is
    // not an object (never loaded, neither file had one) is not written.
    virtual bool WriteSection(const Json::Value& section, const std::string& path);
    // The scratch section into the file at path.
    virtual bool SaveScratchTo(const std::string& path);
    // A whole document.
    virtual bool WriteDocument(const Json::Value& root, const std::string& path);

    // The light library (saved lighting entries per slot); kept for ReadEffectFrames.
    Json::Value LoadLightLibrary(const std::string& path);

    // Records of the current section. Reads also keep what they return.
    std::vector<KeyAssignmentPair> ReadKeyList();
    // Element i of "KeyList" takes list[i] (by list position, not by key position).
    void WriteKeyList(const std::vector<KeyAssignmentPair>& list);
    std::vector<KeyAssignmentPair> ReadScratchKeyList();
    void WriteScratchKeyList(const std::vector<KeyAssignmentPair>& list);
    LightingRecord ReadLightInfo();
    void WriteLightInfo(const LightingRecord& record);
    AudioLightingRecord ReadAudioLightInfo();
    void WriteAudioLightInfo(const AudioLightingRecord& record);
    std::vector<LightListEntry> ReadLightList();
    // The frames of the effect that the light library names for the cached light mode.
    std::vector<EffectFrame> ReadEffectFrames();

    // Array indices a write may create; larger ones (which only a damaged file can ask for) are
    // refused so that a single number cannot make a document grow without bound.
    static constexpr int kMaxIndex = 1024;
    // Whether index is within 0..kMaxIndex; logs a refusal naming what the index was for.
    static bool IndexAllowed(int index, const char* what);

  protected:
    // Reads the document at path into root for rewriting one part of it; a missing file gives an
    // empty object. A damaged file is kept aside first: text that is not a JSON object (root then
    // starts empty), or a "Device" that is not an array or a section that is not an object (root
    // keeps the rest). False when the file must be left alone: it cannot be read, or no copy of it
    // could be kept.
    bool ReadDocumentForUpdate(const std::string& path, Json::Value& root);

    Json::Value currentSection_;
    Json::Value scratchSection_;
    JsonFile jsonFile_;

  private:
    Json::Value LoadInto(Json::Value& section, bool& unreadable, const std::string& path,
                         LoadResult* result);
    std::vector<KeyAssignmentPair> ReadKeyListOf(const Json::Value& section);
    void WriteKeyListInto(Json::Value& section, const std::vector<KeyAssignmentPair>& list);

    std::string profilePath_;
    std::string defaultPath_;
    std::string lightLibraryPath_;
    std::string lightLibraryFolder_;  // where effect frame files are looked for
    std::string profileName_;
    int deviceSlot_ = 0;
    // Set while the section in memory stands in for a file that could not be read.
    bool currentUnreadable_ = false;
    bool scratchUnreadable_ = false;
    Json::Value lightLibrary_;

    LightingRecord lightingRecord_;
    const LightingRecord defaultLightingRecord_{};
    AudioLightingRecord audioLighting_;
    std::vector<LightListEntry> lightList_;
    std::vector<EffectFrame> effectFrames_;
    std::vector<KeyAssignmentPair> keyList_;
    std::vector<KeyAssignmentPair> scratchKeyList_;
};

}  // namespace profile
