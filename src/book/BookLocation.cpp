#include "BookLocation.h"

#include "BookError.h"

#include <libpq-fe.h>

#include <memory>
#include <regex>

namespace fiscora {

namespace {

struct ConninfoOptionsFree {
    void operator()(PQconninfoOption *options) const { PQconninfoFree(options); }
};
using ConninfoOptions = std::unique_ptr<PQconninfoOption, ConninfoOptionsFree>;

bool IsLibpqKeyword(const std::string &name) {
    const ConninfoOptions defaults(PQconndefaults());
    for (const PQconninfoOption *option = defaults.get(); option && option->keyword; ++option)
        if (name == option->keyword)
            return true;
    return false;
}

bool NamesServer(const std::string &text) {
    if (text.starts_with("postgresql://") || text.starts_with("postgres://"))
        return true;
    static const std::regex keywordFirst(R"(^\s*([A-Za-z_]+)\s*=)");
    std::smatch match;
    return std::regex_search(text, match, keywordFirst) && IsLibpqKeyword(match[1].str());
}

std::string Quoted(const std::string &value) {
    std::string quoted = "'";
    for (const char c : value) {
        if (c == '\'' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "'";
}

} // namespace

BookLocation ParseBookLocation(const std::string &text) {
    BookLocation location;
    location.text = text;
    if (!NamesServer(text))
        return location;
    location.backEnd = BookBackEnd::Postgres;
    char *error = nullptr;
    const ConninfoOptions options(PQconninfoParse(text.c_str(), &error));
    if (!options) {
        std::string reason = error ? error : "out of memory";
        PQfreemem(error);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' '))
            reason.pop_back();
        throw EBookError("The connection string of the book cannot be read: " + reason);
    }
    for (const PQconninfoOption *option = options.get(); option->keyword; ++option) {
        if (!option->val)
            continue;
        const std::string keyword = option->keyword;
        if (keyword == "password")
            throw EBookError("A book's connection string may not hold a password: give it in the password "
                             "file (~/.pgpass), the service file or PGPASSWORD");
        if (std::string(option->val).find(';') != std::string::npos)
            throw EBookError("The connection string's " + keyword +
                             " holds a \";\", which cannot be passed on");
        location.settings.emplace_back(keyword, option->val);
    }
    return location;
}

std::string ConnectOptionsText(const BookLocation &location) {
    std::string text;
    for (const auto &[keyword, value] : location.settings)
        text += (text.empty() ? "" : " ") + keyword + "=" + Quoted(value);
    return text;
}

} // namespace fiscora
