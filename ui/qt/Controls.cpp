#include "Controls.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>

namespace qt {
namespace {

using form::Kind;

// The design's colours as Qt's palette names them.
QPalette::ColorRole roleOf(form::Colour colour) {
    switch (colour) {
        case form::Colour::Highlight:
            return QPalette::Highlight;
        case form::Colour::Text:
            break;
    }
    return QPalette::WindowText;
}

}  // namespace

QMessageBox::Icon iconOf(form::AboutBox::Icon icon) {
    switch (icon) {
        case form::AboutBox::Icon::Information:
            break;
    }
    return QMessageBox::Information;
}

QString qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect fromTwips(const form::Twips& at) {
    const form::Rect place = form::pixels(at, 96);
    return {place.left, place.top, place.width, place.height};
}

QFont fontOf(const form::Font& design, double points) {
    QFont font(qstring(design.family));
    font.setPointSizeF(points);
    font.setWeight(static_cast<QFont::Weight>(design.weight));  // both count 700 as bold
    return font;
}

const form::Measure kBandMeasure{
    [](std::string_view text, double points) {
        return QFontMetrics(fontOf(form::kBandFont, points)).horizontalAdvance(qstring(text));
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
            label->setText(qstring(design.text));
            // A caption wraps at its spaces; a band gets its lines from the engine's fitting.
            label->setWordWrap(design.kind == Kind::Caption);
            label->setAlignment(design.kind == Kind::Band ? Qt::AlignCenter
                                                          : Qt::AlignHCenter | Qt::AlignTop);
            if (design.kind == Kind::Band) {
                label->setFont(fontOf(form::kBandFont, form::kBandFont.points));
            }
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, palette.color(roleOf(design.colour)));
            label->setPalette(palette);
            return label;
        }
        case Kind::Button:
            return new QPushButton(qstring(design.text), parent);
        case Kind::Field: {
            auto* edit = new QLineEdit(qstring(design.text), parent);
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

}  // namespace qt
