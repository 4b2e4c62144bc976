#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>

#include "dictionary/ByteSource.h"
#include "drill/DrillEngine.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace ui {

struct DictionaryMessage;

// The program's one window: the two word bands, the direction buttons, the interval and range
// bars with their fields, the card's numbers and the About button.
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
    void Form_Activate();
    void Form_Unload();
    void HScroll1_Change(int value);
    void HScroll3_Change(int value);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void startRun(drill::Direction direction);
    void catchUp();
    void armCardTimer();
    void showMessage(const DictionaryMessage& message);
    void setBand(QLabel* band, const QString& text);

    void showWordIndex(std::int64_t wordIndex) override;
    void showSeqNo(std::int64_t seqNo) override;
    void showQuestion(std::string_view text) override;
    void showAnswer(std::string_view text) override;

    std::unique_ptr<drill::Clock> ownClock_;
    std::unique_ptr<drill::RandomSource> ownRandom_;
    drill::Clock& clock_;
    drill::DrillEngine engine_;
    QTimer cardTimer_;
    bool activated_ = false;

    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label1_2 = nullptr;
    QLabel* Label1_0 = nullptr;
    QLabel* Label1_4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLabel* Label1_3 = nullptr;
    QLineEdit* Text3 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* HScroll3 = nullptr;
    QPushButton* Command3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text7 = nullptr;
};

}  // namespace ui
