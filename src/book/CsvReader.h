#pragma once

// Comma-separated values as RFC 4180 has them: fields separated by ",", records by CR LF or LF,
// fields in double quotes holding commas, line breaks and doubled quotes.

#include "ToolBoxExceptions.h"

#include <string>
#include <string_view>
#include <vector>

namespace fiscora {

struct CsvRecord {
    int line = 0; // the physical line on which the record starts; the first line is 1
    std::vector<std::string> fields;
};

// A text that is no CSV; `line` is where the faulty record starts.
class ECsvError : public ECustomException {
public:
    ECsvError(int line, const std::string &message) : ECustomException(message), line(line) {}

    int line;
};

// The records of the text, empty lines left out. A UTF-8 byte order mark at the start is skipped.
// Raises ECsvError for a quoted field without its closing quote, or text after the closing quote.
std::vector<CsvRecord> ReadCsvRecords(std::string_view text);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

} // namespace fiscora
