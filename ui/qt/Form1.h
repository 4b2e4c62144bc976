#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "ByteSource.h"
#include "DrillEngine.h"

class QLabel;

namespace ui {

// The program's one window on Qt: the controls of the design, each event handed to the drill
// engine, and what the engine says shown in the controls.
class Form1 : public QWidget, private drill::DrillFrontend {
    Q_OBJECT

public:
    // Reads "engl.voc" from the current folder on the real clock unless told otherwise.
    explicit Form1(dictionary::SourceOpener dictionary = dictionary::fileOpener("engl.voc"),
                   drill::Clock* clock = nullptr, drill::RandomSource* random = nullptr);
    ~Form1() override;

    const drill::DrillState& drillState() const { return engine_.state(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    template <class Widget>
    Widget* control(form::Control id) const;

    void Form_Activate();
    void Form_Unload();
    void HScroll1_Change(int value);
    void HScroll3_Change(int value);
    void Text7_Change(const QString& text);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void setBand(QLabel* band, const QString& text);

    void showText(form::Control control, std::string_view text) override;
    void setBar(form::Control bar, int minimum, int maximum, int value) override;
    void enable(form::Control control, bool enabled) override;
    void wakeAt(std::optional<drill::TimePoint> due) override;

    std::unique_ptr<drill::Clock> ownClock_;
    std::unique_ptr<drill::RandomSource> ownRandom_;
    drill::DrillEngine engine_;
    QTimer cardTimer_;
    bool activated_ = false;
    std::array<QWidget*, form::kControls.size()> controls_{};
};

}  // namespace ui
