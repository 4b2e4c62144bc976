#include "BandText.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace ui {
namespace {

constexpr qreal kSmallestPointSize = 9.0;
// More characters than two lines of the smallest font can hold; the rest is never laid out.
constexpr qsizetype kMostCharacters = 1000;

bool fits(const QString& text, const QFont& font, QSize size) {
    const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, size.width(), 1 << 20),
                                                         Qt::AlignHCenter | Qt::TextWordWrap, text);
    return needed.width() <= size.width() && needed.height() <= size.height();
}

// Breaks `text` into the lines that fit the width, anywhere if a word is too long, and elides
// the last line that fits the height.
QString elided(const QString& text, const QFont& font, QSize size) {
    const QFontMetrics metrics(font);
    const int maxLines = std::max(1, size.height() / metrics.lineSpacing());
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(size.width());
        if (lines.size() + 1 == maxLines) {
            lines << metrics.elidedText(text.mid(line.textStart()), Qt::ElideRight, size.width());
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

FittedText fitToBand(const QString& text, const QFont& designFont, QSize size) {
    if (text.isEmpty()) {
        return {designFont, text};
    }
    QString shown = text.left(kMostCharacters);
    if (shown.size() < text.size() && shown.back().isHighSurrogate()) {
        shown.chop(1);  // never half a character
    }
    QFont font = designFont;
    for (qreal points = designFont.pointSizeF();; points -= 1.0) {
        font.setPointSizeF(std::max(points, kSmallestPointSize));
        if (fits(shown, font, size)) {
            return {font, shown};
        }
        if (points <= kSmallestPointSize) {
            break;
        }
    }
    return {font, elided(shown, font, size)};
}

}  // namespace ui
