#include "CsvReader.h"

namespace fiscora {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

class CsvScanner {
public:
    explicit CsvScanner(std::string_view text) : FText(text) {
        if (FText.starts_with(kByteOrderMark))
            FText.remove_prefix(kByteOrderMark.size());
    }

    std::vector<CsvRecord> Records() {
        std::vector<CsvRecord> records;
        while (FAt < FText.size()) {
            CsvRecord record{FLine, {}};
            ReadRecord(record.fields);
            const bool emptyLine = record.fields.size() == 1 && record.fields.front().empty();
            if (!emptyLine)
                records.push_back(std::move(record));
        }
        return records;
    }

private:
    bool AtLineBreak() const {
        return FText[FAt] == '\n' || (FText[FAt] == '\r' && FAt + 1 < FText.size() && FText[FAt + 1] == '\n');
    }

    // Past the line break at FAt.
    void SkipLineBreak() {
        FAt += FText[FAt] == '\r' ? 2 : 1;
        ++FLine;
    }

    void ReadRecord(std::vector<std::string> &fields) {
        const int start = FLine;
        for (;;) {
            fields.push_back(FAt < FText.size() && FText[FAt] == '"' ? QuotedField(start) : PlainField());
            if (FAt >= FText.size())
                return;
            if (AtLineBreak()) {
                SkipLineBreak();
                return;
            }
            ++FAt; // the comma
        }
    }

    std::string PlainField() {
        const std::size_t begin = FAt;
        while (FAt < FText.size() && FText[FAt] != ',' && !AtLineBreak())
            ++FAt;
        return std::string(FText.substr(begin, FAt - begin));
    }

    std::string QuotedField(int recordLine) {
        std::string field;
        ++FAt; // the opening quote
        for (;;) {
            if (FAt >= FText.size())
                throw ECsvError(recordLine, "a quoted field has no closing quote");
            const char c = FText[FAt];
            if (c == '"') {
                if (FAt + 1 < FText.size() && FText[FAt + 1] == '"') {
                    field += '"';
                    FAt += 2;
                    continue;
                }
                ++FAt;
                if (FAt < FText.size() && FText[FAt] != ',' && !AtLineBreak())
                    throw ECsvError(FLine, "text follows the closing quote of a field");
                return field;
            }
            if (c == '\n')
                ++FLine;
            field += c;
            ++FAt;
        }
    }

    std::string_view FText;
    std::size_t FAt = 0;
    int FLine = 1;
};

} // namespace

std::vector<CsvRecord> ReadCsvRecords(std::string_view text) {
    return CsvScanner(text).Records();
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t code = lead;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else if (lead >= 0xE0) {
            length = lead <= 0xEF ? 3 : 0;
            code = lead & 0x0F;
        } else if (lead >= 0xC2) {
            length = lead <= 0xDF ? 2 : 0;
            code = lead & 0x1F;
        } else if (lead >= 0x80) {
            length = 0;
        }
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace fiscora
