#include "nodetree/HostText.h"

namespace KV {

// Qt's own conversion of 32-bit wide text runs through its general UTF-32 decoder, which costs
// a rebuild several times what this direct copy does.
QString FromHostText(const std::wstring& text)
{
    if constexpr (sizeof(wchar_t) == sizeof(QChar)) {
        return QString::fromWCharArray(text.data(), static_cast<int>(text.size()));
    } else {
        const auto isCharacter = [](uint code) {
            return code <= QChar::LastValidCodePoint && !QChar::isSurrogate(code);
        };
        int length = 0;
        for (const wchar_t c : text) {
            const auto code = static_cast<uint>(c);
            length += isCharacter(code) && QChar::requiresSurrogates(code) ? 2 : 1;
        }
        QString out(length, Qt::Uninitialized);
        QChar* to = out.data();
        for (const wchar_t c : text) {
            const auto code = static_cast<uint>(c);
            if (!isCharacter(code)) {
                *to++ = QChar(QChar::ReplacementCharacter);
            } else if (QChar::requiresSurrogates(code)) {
                *to++ = QChar(QChar::highSurrogate(code));
                *to++ = QChar(QChar::lowSurrogate(code));
            } else {
                *to++ = QChar(static_cast<ushort>(code));
            }
        }
        return out;
    }
}

} // namespace KV
