#include <string>
#include <vector>

#include <SDL.h>

#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/Yaml_writer.h>
#include <Orvane/Utils/error.h>

namespace Orvane::Third_party {

std::string Yaml_writer::quoted(const std::string& value) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size() + 2);
    out += '"';
    auto byte_at = [&value](std::size_t i) {
        return i < value.size() ? static_cast<unsigned char>(value[i]) : 0u;
    };
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const auto byte = static_cast<unsigned char>(c);
        // Characters that a reader folds as line breaks (U+0085, U+2028, U+2029) or refuses
        // raw (the other C1 controls, U+FFFE, U+FFFF) are escaped too.
        if (byte == 0xC2 && byte_at(i + 1) >= 0x80 && byte_at(i + 1) <= 0x9F) {
            out += "\\x";
            out += hex[byte_at(i + 1) >> 4];
            out += hex[byte_at(i + 1) & 0xF];
            i += 1;
            continue;
        }
        if (byte == 0xE2 && byte_at(i + 1) == 0x80 &&
            (byte_at(i + 2) == 0xA8 || byte_at(i + 2) == 0xA9)) {
            out += byte_at(i + 2) == 0xA8 ? "\\L" : "\\P";
            i += 2;
            continue;
        }
        if (byte == 0xEF && byte_at(i + 1) == 0xBF &&
            (byte_at(i + 2) == 0xBE || byte_at(i + 2) == 0xBF)) {
            out += byte_at(i + 2) == 0xBE ? "\\uFFFE" : "\\uFFFF";
            i += 2;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            // control characters are not allowed raw in a YAML file
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

void Yaml_writer::line(const std::string& text) {
    m_text.append(m_indentation, ' ');
    m_text += text;
    m_text += '\n';
}

void Yaml_writer::start_section(const std::string& key) {
    line(key + ":");
    m_indentation += 2;
}

void Yaml_writer::end_section() { m_indentation = m_indentation >= 2 ? m_indentation - 2 : 0; }

void Yaml_writer::write(const std::string& key, const bool& value) {
    line(key + ": " + format(value));
}

void Yaml_writer::write(const std::string& key, const std::string& value) {
    line(key + ": " + quoted(value));
}

void Yaml_writer::write(const std::string& key, const char* value) {
    write(key, std::string(value));
}

void Yaml_writer::write(const std::string& key, const int& a, const int& b) {
    line(key + ": [" + std::to_string(a) + ", " + std::to_string(b) + "]");
}

void Yaml_writer::write(const std::string& key, const std::vector<std::string>& values) {
    start_section(key);
    for (const auto& value : values)
        write_list_item(value);
    end_section();
}

void Yaml_writer::write_list_item(const std::string& value) { line("- " + quoted(value)); }

bool Yaml_writer::save(const std::string& name) const {
    if (SDL_file::replace(SDL_file::pref_path() + name, m_text))
        return true;
    warning("Can't write " + name + ": " + SDL_GetError());
    return false;
}

} // namespace Orvane::Third_party
