#pragma once

#include <QString>
#include <QStringView>

// Text order of the sorted lists: letters compared without regard to case.
// ASCII is compared directly (lists hold tens of thousands of names and are
// sorted on every keystroke); other text falls back to Qt's case folding.
inline int CompareListText(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t ca = a[i].unicode();
        char16_t cb = b[i].unicode();
        if (ca == cb)
            continue;
        if (ca < 128 && cb < 128) {
            if (ca >= 'A' && ca <= 'Z')
                ca += 'a' - 'A';
            if (cb >= 'A' && cb <= 'Z')
                cb += 'a' - 'A';
            if (ca != cb)
                return ca < cb ? -1 : 1;
            continue;
        }
        const int r = a.mid(i).compare(b.mid(i), Qt::CaseInsensitive);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
