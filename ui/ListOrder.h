#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <array>

// Text order of the sorted lists: character by character, letters without
// regard to case (each UTF-16 unit case-folded), a shorter text before a
// longer one that begins with it.
inline char16_t FoldListChar(char16_t c)
{
    if (c < 128)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
    return QChar::toCaseFolded(c);
}

inline int CompareListText(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = a[i].unicode();
        const char16_t cb = b[i].unicode();
        if (ca == cb)
            continue;
        const char16_t fa = FoldListChar(ca);
        const char16_t fb = FoldListChar(cb);
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The first twelve folded characters packed into three integers, so that a
// sort decides most comparisons without touching the texts: keys compare in
// the same order as CompareListText; equal keys need the full compare.
struct ListSortKey {
    std::array<quint64, 3> words{};

    explicit ListSortKey(QStringView text)
    {
        const qsizetype n = qMin<qsizetype>(12, text.size());
        for (qsizetype i = 0; i < n; ++i)
            words[size_t(i / 4)] |= quint64(FoldListChar(text[i].unicode())) << (48 - 16 * (i % 4));
    }
    int compare(const ListSortKey& o) const
    {
        for (size_t i = 0; i < words.size(); ++i)
            if (words[i] != o.words[i])
                return words[i] < o.words[i] ? -1 : 1;
        return 0;
    }
};
