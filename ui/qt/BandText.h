#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace ui {

struct FittedText {
    QFont font;
    QString text;  // with line breaks where the band's width forces them
};

// Fits a word into a band of `size`: on one or two lines in `designFont`, else in a smaller
// size of it down to 9 points, else elided with "…" at 9 points.
FittedText fitToBand(const QString& text, const QFont& designFont, QSize size);

}  // namespace ui
