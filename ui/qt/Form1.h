#pragma once

#include <QTimer>
#include <QWidget>
#include <array>

#include "DrillEngine.h"

namespace qt {

// The program's one window on Qt: the controls of the design, each of their events forwarded to
// the drill engine, and what the engine says shown in the controls.
class Form1 : public QWidget, private drill::DrillFrontend {
    Q_OBJECT

public:
    explicit Form1(drill::Sources sources = {});
    ~Form1() override;

    const drill::DrillState& drillState() const { return engine_.state(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    template <class Widget>
    Widget* control(form::Control id) const;

    void showText(form::Control control, std::string_view text) override;
    void setBar(form::Control bar, int minimum, int maximum, int value) override;
    void enable(form::Control control, bool enabled) override;
    void wakeAt(std::optional<drill::TimePoint> due) override;
    void showAbout() override;
    void end() override;

    drill::DrillEngine engine_;
    QTimer cardTimer_;
    std::array<QWidget*, form::kControls.size()> controls_{};
};

}  // namespace qt
