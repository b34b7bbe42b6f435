#include "CodePage.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace tarvex {

namespace {

const char* iconvName(CodePage page) { return page == CodePage::Cp1251 ? "CP1251" : "CP866"; }

// One conversion descriptor per call: conversions are short and rare, and this keeps the
// functions reentrant without any shared state.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

} // namespace

QString decodeText(const char* data, std::size_t size, CodePage page) {
    if (!data || size == 0)
        return {};
    const void* zero = std::memchr(data, 0, size);
    if (zero)
        size = static_cast<std::size_t>(static_cast<const char*>(zero) - data);
    if (size == 0)
        return {};

    Converter conv("UTF-16LE", iconvName(page));
    if (!conv.valid())
        return QString::fromLatin1(data, static_cast<qsizetype>(size));

    // Both code pages are single-byte: one input byte gives at most one UTF-16 unit.
    std::vector<char16_t> out(size);
    char* in = const_cast<char*>(data);
    std::size_t inLeft = size;
    char* outPtr = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size() * sizeof(char16_t);
    while (inLeft > 0) {
        if (::iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            if (errno != EILSEQ && errno != EINVAL)
                break;
            // An unmapped byte (0x98 in 1251): replace it and go on.
            if (outLeft < sizeof(char16_t))
                break;
            const char16_t replacement = 0xFFFD;
            std::memcpy(outPtr, &replacement, sizeof replacement);
            outPtr += sizeof replacement;
            outLeft -= sizeof replacement;
            ++in;
            --inLeft;
        }
    }
    const auto units = static_cast<qsizetype>((out.size() * sizeof(char16_t) - outLeft) / sizeof(char16_t));
    return QString(reinterpret_cast<const QChar*>(out.data()), units);
}

QByteArray encodeText(const QString& text, CodePage page) {
    if (text.isEmpty())
        return {};
    Converter conv(iconvName(page), "UTF-16LE");
    if (!conv.valid())
        return text.toLatin1();

    QByteArray out(text.size(), '\0');
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.constData()));
    std::size_t inLeft = static_cast<std::size_t>(text.size()) * sizeof(QChar);
    char* outPtr = out.data();
    std::size_t outLeft = static_cast<std::size_t>(out.size());
    while (inLeft > 0) {
        if (::iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            if (errno != EILSEQ && errno != EINVAL)
                break;
            if (outLeft == 0)
                break;
            // A character the code page lacks; a surrogate pair stands for one character.
            const char16_t unit = *reinterpret_cast<const char16_t*>(in);
            const std::size_t skip = (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4) ? 4 : 2;
            *outPtr++ = '?';
            --outLeft;
            in += skip;
            inLeft -= skip;
        }
    }
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return out;
}

} // namespace tarvex
