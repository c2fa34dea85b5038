#include "TemplateText.h"
#include "TemplateMemo.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

using namespace fiscora;

TEST(TemplateText, ExpandsParametersRowsMacrosAndBraces) {
    const std::map<QString, QString> params{{QStringLiteral("COST"), QStringLiteral("$1.00")},
                                            {QStringLiteral("YearEnd3"), QStringLiteral("12/31/2028")},
                                            {QStringLiteral("Accum7"), QStringLiteral("900.00")}};
    TextValues values;
    values.param = [&](const QString &name) {
        for (const auto &[key, value] : params)
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        return QString();
    };
    values.macro = [](TMacroID id) { return QStringLiteral("<M%1>").arg(int(id)); };
    values.row = 3;
    values.rowCount = 7;
    const struct {
        const char *text;
        const char *expected;
    } cases[] = {
        {"Cost: {cost}", "Cost: $1.00"},
        {"{Missing}|", "|"},
        {"Row {i}: {YearEnd{i}}", "Row 3: 12/31/2028"},
        {"{n} rows, total {Accum{n}}", "7 rows, total 900.00"},
        {"Page {@Page} of {@Pages}", "Page <M11> of <M10>"},
        {"{@Date} {@Time}", "<M0> <M4>"},
        {"{{literal}} }}", "{literal} }"},
        {"", ""},
    };
    for (const auto &test : cases)
        EXPECT_EQ(ExpandTemplateText(ParseTemplateText(QString::fromUtf8(test.text)), values),
                  QString::fromUtf8(test.expected))
            << test.text;
}

TEST(TemplateText, RefusesMalformedPlaceholders) {
    for (const char *text : {"{Cost", "Cost}", "{}", "{@Nope}", "{ }", "{{i}}}"})
        EXPECT_THROW(ParseTemplateText(QString::fromUtf8(text)), std::invalid_argument) << text;
}

TEST(TemplateMemo, WrapsAtWordsAndLineBreaksAndSplitsLongWords) {
    // One unit per character.
    const auto measure = [](const QString &text) { return double(text.size()); };
    EXPECT_EQ(WrapMemoText(QStringLiteral("the quick brown fox"), 10, measure),
              QStringList({QStringLiteral("the quick"), QStringLiteral("brown fox")}));
    EXPECT_EQ(WrapMemoText(QStringLiteral("one\r\ntwo three"), 20, measure),
              QStringList({QStringLiteral("one"), QStringLiteral("two three")}));
    EXPECT_EQ(WrapMemoText(QStringLiteral("ab abcdefghij"), 4, measure),
              QStringList({QStringLiteral("ab"), QStringLiteral("abcd"), QStringLiteral("efgh"),
                           QStringLiteral("ij")}));
    EXPECT_EQ(WrapMemoText(QString(), 4, measure), QStringList({QString()}));
}

TEST(TemplateMemo, LongWordsAndLongLinesCostLittleMoreThanTheirLength) {
    qsizetype measured = 0;
    const auto measure = [&](const QString &text) {
        measured += text.size();
        return double(text.size());
    };
    const QString word(100000, u'x');
    const QStringList lines = WrapMemoText(word, 10, measure);
    ASSERT_EQ(lines.size(), 10000);
    EXPECT_EQ(lines.front(), QString(10, u'x'));
    EXPECT_EQ(lines.join(QString()), word);
    // Measuring the rest of the word for every line would cost about 500 million characters.
    EXPECT_LT(measured, 20 * word.size());

    // Many short words on one wide line: adding them one by one would measure the line every time.
    measured = 0;
    const QString words = QStringLiteral("ab ").repeated(50000);
    const QStringList wide = WrapMemoText(words, 30000, measure);
    ASSERT_EQ(wide.size(), 5);
    EXPECT_EQ(wide.front(), QStringLiteral("ab ").repeated(10000).trimmed());
    EXPECT_LT(measured, 20 * words.size());
}
