// Just enough of the Compact Font Format to tell how a PDF selects a CFF program's glyphs: a
// CID-keyed program by CID through its charset, any other by glyph index.
#include "output/pdf/FoPdfCff.h"

namespace fiscora {

namespace {

class TReader {
public:
    explicit TReader(QByteArrayView data) : FData(data) {}

    bool Has(qsizetype pos, qsizetype count) const {
        return pos >= 0 && count >= 0 && pos <= FData.size() && count <= FData.size() - pos;
    }
    std::uint32_t Card(qsizetype pos, int size) const {
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | std::uint8_t(FData[pos + i]);
        return value;
    }
    std::uint8_t Byte(qsizetype pos) const { return std::uint8_t(FData[pos]); }

    // An INDEX at pos: its element count, the span of its first element, and where it ends.
    struct TIndex {
        std::uint32_t Count = 0;
        qsizetype FirstStart = 0;
        qsizetype FirstEnd = 0;
        qsizetype End = 0;
    };
    std::optional<TIndex> Index(qsizetype pos) const {
        if (!Has(pos, 2))
            return std::nullopt;
        TIndex index;
        index.Count = Card(pos, 2);
        if (index.Count == 0) {
            index.End = pos + 2;
            return index;
        }
        if (!Has(pos + 2, 1))
            return std::nullopt;
        const int offSize = Byte(pos + 2);
        if (offSize < 1 || offSize > 4)
            return std::nullopt;
        const qsizetype offsets = pos + 3;
        if (!Has(offsets, qsizetype(index.Count + 1) * offSize))
            return std::nullopt;
        const qsizetype data = offsets + qsizetype(index.Count + 1) * offSize - 1;
        const auto offsetAt = [&](std::uint32_t i) {
            return data + qsizetype(Card(offsets + i * offSize, offSize));
        };
        index.FirstStart = offsetAt(0);
        index.FirstEnd = offsetAt(1);
        index.End = offsetAt(index.Count);
        if (index.FirstStart > index.FirstEnd || !Has(index.FirstStart, index.FirstEnd - index.FirstStart) ||
            !Has(index.End, 0))
            return std::nullopt;
        return index;
    }

private:
    QByteArrayView FData;
};

struct TTopDict {
    bool CIDKeyed = false;
    long Charset = 0;
    long CharStrings = -1;
};

// The Top DICT entries this reader needs; empty on a malformed DICT.
std::optional<TTopDict> ReadTopDict(const TReader &in, qsizetype pos, qsizetype end) {
    TTopDict dict;
    std::vector<long> operands;
    while (pos < end) {
        const std::uint8_t b0 = in.Byte(pos);
        if (b0 <= 21) {
            int op = b0;
            ++pos;
            if (b0 == 12) {
                if (pos >= end)
                    return std::nullopt;
                op = 1200 + in.Byte(pos++);
            }
            if (op == 1230)
                dict.CIDKeyed = true;
            else if (op == 15 && !operands.empty())
                dict.Charset = operands.back();
            else if (op == 17 && !operands.empty())
                dict.CharStrings = operands.back();
            operands.clear();
        } else if (b0 == 28) {
            if (pos + 3 > end)
                return std::nullopt;
            operands.push_back(std::int16_t(in.Card(pos + 1, 2)));
            pos += 3;
        } else if (b0 == 29) {
            if (pos + 5 > end)
                return std::nullopt;
            operands.push_back(std::int32_t(in.Card(pos + 1, 4)));
            pos += 5;
        } else if (b0 == 30) {
            // A real number: nibbles up to the end nibble 0xF. Only its extent matters here.
            ++pos;
            bool done = false;
            while (!done && pos < end) {
                const std::uint8_t b = in.Byte(pos++);
                done = (b & 0x0F) == 0x0F || (b >> 4) == 0x0F;
            }
            if (!done)
                return std::nullopt;
            operands.push_back(0);
        } else if (b0 >= 32 && b0 <= 246) {
            operands.push_back(long(b0) - 139);
            ++pos;
        } else if (b0 >= 247 && b0 <= 254) {
            if (pos + 2 > end)
                return std::nullopt;
            const long b1 = in.Byte(pos + 1);
            operands.push_back(b0 <= 250 ? (long(b0) - 247) * 256 + b1 + 108
                                         : -(long(b0) - 251) * 256 - b1 - 108);
            pos += 2;
        } else {
            return std::nullopt;
        }
    }
    return dict;
}

} // namespace

std::optional<TCffCharset> ReadCffCharset(QByteArrayView Cff) {
    const TReader in(Cff);
    if (!in.Has(0, 4) || in.Byte(0) != 1)
        return std::nullopt;
    const auto names = in.Index(in.Byte(2));
    if (!names)
        return std::nullopt;
    const auto topDicts = in.Index(names->End);
    if (!topDicts || topDicts->Count == 0)
        return std::nullopt;
    const auto top = ReadTopDict(in, topDicts->FirstStart, topDicts->FirstEnd);
    if (!top || top->CharStrings < 0)
        return std::nullopt;
    const auto charStrings = in.Index(top->CharStrings);
    if (!charStrings || charStrings->Count == 0)
        return std::nullopt;

    TCffCharset result;
    result.CIDKeyed = top->CIDKeyed;
    if (!result.CIDKeyed)
        return result;
    const std::uint32_t glyphs = charStrings->Count;
    result.CIDs.assign(glyphs, 0);
    if (top->Charset <= 2) {
        // A predefined charset names glyphs in order.
        for (std::uint32_t gid = 0; gid < glyphs; ++gid)
            result.CIDs[gid] = std::uint16_t(gid);
        return result;
    }
    qsizetype pos = top->Charset;
    if (!in.Has(pos, 1))
        return std::nullopt;
    const int format = in.Byte(pos++);
    std::uint32_t gid = 1;
    if (format == 0) {
        if (!in.Has(pos, qsizetype(glyphs - 1) * 2))
            return std::nullopt;
        for (; gid < glyphs; ++gid, pos += 2)
            result.CIDs[gid] = std::uint16_t(in.Card(pos, 2));
        return result;
    }
    if (format != 1 && format != 2)
        return std::nullopt;
    const int leftSize = format == 1 ? 1 : 2;
    while (gid < glyphs) {
        if (!in.Has(pos, 2 + leftSize))
            return std::nullopt;
        std::uint32_t cid = in.Card(pos, 2);
        const std::uint32_t left = in.Card(pos + 2, leftSize);
        pos += 2 + leftSize;
        for (std::uint32_t i = 0; i <= left && gid < glyphs; ++i)
            result.CIDs[gid++] = std::uint16_t(cid++);
    }
    return result;
}

} // namespace fiscora
