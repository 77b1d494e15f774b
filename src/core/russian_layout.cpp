#include "core/russian_layout.h"

#include <string_view>

namespace orven {

namespace {

// The keys in the same order on both layouts: what each gives under the US
// layout, and under the Russian one (unshifted, then shifted, then the
// shifted digits that differ).
constexpr std::u16string_view usKeys =
    u"qwertyuiop[]asdfghjkl;'zxcvbnm,./`QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>?~@#$^&|";
constexpr std::u16string_view russianKeys =
    u"йцукенгшщзхъфывапролджэячсмитьбю.ёЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ,Ё\"№;:?/";
static_assert(usKeys.size() == russianKeys.size());

} // namespace

QChar russianLayoutChar(QChar ch) {
    const std::size_t at = usKeys.find(ch.unicode());
    return at == std::u16string_view::npos ? ch : QChar(russianKeys[at]);
}

QString russianLayoutText(const QString& text) {
    QString mapped = text;
    for (QChar& ch : mapped)
        ch = russianLayoutChar(ch);
    return mapped;
}

} // namespace orven
