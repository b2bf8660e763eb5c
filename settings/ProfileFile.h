#pragma once

// A private-profile (INI) document: sections in square brackets, "key=value" lines.
//
// Reading follows the classic private-profile rules the settings file was designed for:
// section and key names match without regard to ASCII letter case, white space around names
// and values is ignored, the first occurrence of a section or key wins, lines before the first
// section and lines without '=' are ignored, CRLF and LF line ends and a UTF-8 byte-order mark
// are accepted. Any byte content loads; nothing in a file can make a read fail.
//
// Writing keeps sections and keys in the order they were first written: a new key goes after
// the last line of its section, a new section after everything else.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

class ProfileFile {
public:
    // An empty document (as for a file that does not exist).
    ProfileFile() = default;

    // Loads the file at `path`; a missing or unreadable file gives an empty document.
    static ProfileFile Load(const std::filesystem::path& path);

    // Parses a whole file's bytes.
    static ProfileFile Parse(std::string_view text);

    // The stored text of `key` in `section`: empty when the key has no value, nothing when
    // the section or the key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Sets `key` in `section` to `value`, adding the section and the key as needed.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The document as file text, LF line ends.
    std::string Text() const;

    // Writes the document to `path` so that the file is never missing or half written: the
    // text goes to a temporary file in the same folder, which then replaces the old file.
    // Returns false (and leaves any old file as it was) when that cannot be done.
    bool SaveAtomically(const std::filesystem::path& path) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> sections_;
};

} // namespace ondrel
