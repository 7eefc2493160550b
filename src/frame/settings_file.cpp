#include "frame/settings_file.h"

#include "base/numeric.h"

namespace qorvic {

std::optional<std::string> FieldReader::Next() {
    while (pos_ < text_.size() && text_[pos_] == ' ')
        ++pos_;
    if (pos_ >= text_.size())
        return std::nullopt;

    std::string field;
    if (text_[pos_] == '"') {
        const std::size_t close = text_.find('"', pos_ + 1);
        const std::size_t end = close == std::string_view::npos ? text_.size() : close;
        field.assign(text_.substr(pos_ + 1, end - pos_ - 1));
        pos_ = end == text_.size() ? end : end + 1;
        // Whatever follows the closing quote up to the separator belongs to no field.
        while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' &&
               text_[pos_] != '\n')
            ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '\r' &&
               text_[pos_] != '\n')
            ++pos_;
        field.assign(text_.substr(start, pos_ - start));
    }
    // The separator is consumed with the field: a comma, or one line end (CR LF, CR or LF).
    if (pos_ < text_.size()) {
        if (text_[pos_] == ',') {
            ++pos_;
        } else if (text_[pos_] == '\r') {
            ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '\n')
                ++pos_;
        } else if (text_[pos_] == '\n') {
            ++pos_;
        }
    }
    return field;
}

std::string AcceptLanguage(const std::string& language) {
    if (language.empty() || LeadingNumber(language) > 0)
        return "English";
    return language;
}

Settings ParseSettings(std::optional<std::string_view> fileBytes) {
    Settings settings;
    std::string colourText;
    std::string language;
    if (fileBytes) {
        FieldReader reader(*fileBytes);
        if (auto field = reader.Next())
            colourText = *field;
        if (auto field = reader.Next())
            language = *field;
    }
    settings.frameColour = ToInt32(LeadingNumber(colourText));
    settings.language = AcceptLanguage(language);
    return settings;
}

std::string FormatSettings(std::int32_t frameColour, std::string_view language) {
    std::string out = std::to_string(frameColour);
    out += "\r\n";
    out += language;
    out += "\r\n";
    return out;
}

} // namespace qorvic
