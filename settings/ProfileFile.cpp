#include "settings/ProfileFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace ondrel {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

ProfileFile ProfileFile::Load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ProfileFile();
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(text);
}

ProfileFile ProfileFile::Parse(std::string_view text) {
    ProfileFile file;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    Section* current = nullptr;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            size_t close = line.find(']');
            std::string_view name =
                Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            file.sections_.push_back(Section{std::string(name), {}});
            current = &file.sections_.back();
            continue;
        }
        size_t eq = line.find('=');
        if (current == nullptr || eq == std::string_view::npos) {
            continue; // keys before any section and lines without '=' carry nothing
        }
        current->entries.push_back(
            Entry{std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1)))});
    }
    return file;
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view name) const {
    for (const Section& section : sections_) {
        if (SameName(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

ProfileFile::Section* ProfileFile::FindSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::string> ProfileFile::Get(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    for (const Entry& entry : found->entries) {
        if (SameName(entry.key, key)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

void ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    Section* found = FindSection(section);
    if (found == nullptr) {
        sections_.push_back(Section{std::string(section), {}});
        found = &sections_.back();
    }
    for (Entry& entry : found->entries) {
        if (SameName(entry.key, key)) {
            entry.value = std::string(value);
            return;
        }
    }
    found->entries.push_back(Entry{std::string(key), std::string(value)});
}

std::string ProfileFile::Text() const {
    std::string text;
    for (const Section& section : sections_) {
        text += '[';
        text += section.name;
        text += "]\n";
        for (const Entry& entry : section.entries) {
            text += entry.key;
            text += '=';
            text += entry.value;
            text += '\n';
        }
    }
    return text;
}

bool ProfileFile::SaveAtomically(const std::filesystem::path& path) const {
    std::filesystem::path temporary = path;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        const std::string text = Text();
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace ondrel
