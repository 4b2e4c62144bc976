#pragma once

#include <QFont>
#include <QMessageBox>
#include <QRect>
#include <QString>
#include <string_view>

#include "BandFit.h"
#include "Design.h"

class QWidget;

// The window's controls as Qt widgets, and what Qt needs to draw the design.
namespace qt {

QString qstring(std::string_view text);
// Qt lays out in pixels of 96 dots per inch and scales them to the screen.
QRect fromTwips(const form::Twips& at);
QFont fontOf(const form::Font& design, double points);
QMessageBox::Icon iconOf(form::AboutBox::Icon icon);
// How Qt measures a band's text, for form::fitToBand.
extern const form::Measure kBandMeasure;
// A control of the design as the widget that draws it, in `parent`.
QWidget* makeControl(const form::ControlDesign& design, QWidget* parent);

}  // namespace qt
