// Text encodings: UTF-8 and single byte.
#include <climits>

#include "gui/GUI.h"

namespace {

constexpr char kIllegal[] = "Illegal character during UTF-8 decoding!";

std::uint8_t Byte(const char* p, int i)
{
    return static_cast<std::uint8_t>(p[i]);
}

// Bytes of a well-formed sequence at p, or 0. A continuation byte must be
// 10xxxxxx: a sequence cut short (by the terminating zero or by the end of
// the bytes allowed) is therefore never read past its end.
int SequenceLength(const char* p, int avail)
{
    const std::uint8_t b0 = Byte(p, 0);
    if (b0 < 0x80) {
        return 1;
    }
    int n = 0;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3;
    } else {
        return 0;
    }
    if (n > avail) {
        return 0;
    }
    for (int i = 1; i < n; ++i) {
        if ((Byte(p, i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // Overlong forms (C0, C1, E0 below A0) would smuggle in a zero or a line feed.
    if (b0 == 0xC0 || b0 == 0xC1 || (b0 == 0xE0 && Byte(p, 1) < 0xA0)) {
        return 0;
    }
    return n;
}

std::uint16_t Utf8Decode(const char* p, int avail)
{
    switch (SequenceLength(p, avail)) {
    case 1:
        return Byte(p, 0);
    case 2:
        return static_cast<std::uint16_t>((Byte(p, 0) & 0x1F) << 6 | (Byte(p, 1) & 0x3F));
    case 3:
        return static_cast<std::uint16_t>((Byte(p, 0) & 0x0F) << 12 | (Byte(p, 1) & 0x3F) << 6 | (Byte(p, 2) & 0x3F));
    default:
        GUI_ReportError(kIllegal);
        return 1;
    }
}

int Utf8Length(const char* p, int avail)
{
    const int n = SequenceLength(p, avail);
    if (n == 0) {
        GUI_ReportError(kIllegal);
        return 1;
    }
    return n;
}

int Utf8Size(std::uint16_t code)
{
    return code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
}

int Utf8Encode(char* out, std::uint16_t code)
{
    if (code < 0x80) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<char>(0xC0 | code >> 6);
        out[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    out[0] = static_cast<char>(0xE0 | code >> 12);
    out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (code & 0x3F));
    return 3;
}

std::uint16_t ByteDecode(const char* p, int)
{
    return Byte(p, 0);
}

int ByteLength(const char*, int)
{
    return 1;
}

int ByteSize(std::uint16_t)
{
    return 1;
}

int ByteEncode(char* out, std::uint16_t code)
{
    out[0] = static_cast<char>(code & 0xFF);
    return 1;
}

} // namespace

const GUI_ENCODING GUI_EncodingUtf8{Utf8Decode, Utf8Length, Utf8Size, Utf8Encode};
const GUI_ENCODING GUI_EncodingSingleByte{ByteDecode, ByteLength, ByteSize, ByteEncode};

void GUI_UseUtf8()
{
    GUI_Context.encoding = &GUI_EncodingUtf8;
}

void GUI_UseSingleByte()
{
    GUI_Context.encoding = &GUI_EncodingSingleByte;
}

int GUI_Utf8ToCodes(const char* text, int nBytes, std::uint16_t* out, int maxCodes)
{
    const GUI_ENCODING* e = GUI_Context.encoding;
    int used = 0;
    int n = 0;
    while (used < nBytes && n < maxCodes) {
        const int avail = nBytes - used;
        out[n++] = e->decode(text + used, avail);
        used += e->length(text + used, avail);
    }
    return n;
}

int GUI_CodesToUtf8(const std::uint16_t* codes, int nCodes, char* out, int maxBytes)
{
    const GUI_ENCODING* e = GUI_Context.encoding;
    int written = 0;
    for (int i = 0; i < nCodes; ++i) {
        const int size = e->encodedSize(codes[i]);
        if (written + size > maxBytes) {
            break;
        }
        written += e->encode(out + written, codes[i]);
    }
    return written;
}
