#include "Controls.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>

namespace ui {
namespace {

using form::Kind;

// The design names system colours by their Windows number; Qt, by a palette role.
QPalette::ColorRole roleOf(int systemColour) {
    constexpr int kHighlight = 13;  // COLOR_HIGHLIGHT
    return systemColour == kHighlight ? QPalette::Highlight : QPalette::WindowText;
}

}  // namespace

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect fromTwips(const form::Twips& at) {
    return {form::pixels(at.left, 96), form::pixels(at.top, 96), form::pixels(at.width, 96),
            form::pixels(at.height, 96)};
}

QFont fontOf(const form::Font& design, double points) {
    QFont font(qt(design.family));
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(design.weight));
    return font;
}

const form::Measure kBandMeasure{
    [](std::string_view text, double points) {
        return QFontMetrics(fontOf(form::kBandFont, points)).horizontalAdvance(qt(text));
    },
    [](double points) { return QFontMetrics(fontOf(form::kBandFont, points)).lineSpacing(); },
};

QWidget* makeControl(const form::ControlDesign& design, QWidget* parent) {
    switch (design.kind) {
        case Kind::Band:
        case Kind::Caption: {
            auto* label = new QLabel(parent);
            // A dictionary word is text as written, never markup: "<img src=...>" must not load.
            label->setTextFormat(Qt::PlainText);
            label->setText(qt(design.text));
            // A caption wraps at its spaces; a band gets its lines from the engine's fitting.
            label->setWordWrap(design.kind == Kind::Caption);
            label->setAlignment(design.kind == Kind::Band ? Qt::AlignCenter
                                                          : Qt::AlignHCenter | Qt::AlignTop);
            if (design.kind == Kind::Band) {
                label->setFont(fontOf(form::kBandFont, form::kBandFont.points));
            }
            if (design.highlighted) {
                QPalette palette = label->palette();
                palette.setColor(QPalette::WindowText,
                                 palette.color(roleOf(form::kHighlightColour)));
                label->setPalette(palette);
            }
            return label;
        }
        case Kind::Button:
            return new QPushButton(qt(design.text), parent);
        case Kind::Field: {
            auto* edit = new QLineEdit(qt(design.text), parent);
            edit->setReadOnly(!design.editable);
            return edit;
        }
        case Kind::Bar: {
            auto* bar = new QScrollBar(Qt::Horizontal, parent);
            bar->setRange(design.bar.minimum, design.bar.maximum);
            bar->setValue(design.bar.value);
            bar->setSingleStep(design.bar.step);
            bar->setPageStep(design.bar.step);
            bar->setFocusPolicy(Qt::StrongFocus);
            return bar;
        }
    }
    return nullptr;
}

}  // namespace ui
