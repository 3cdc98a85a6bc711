#pragma once
#include <QGroupBox>

class QLineEdit;
class QToolButton;

// "印刷位置補正": the vertical and horizontal print-position corrections of
// the print dialogs, in millimetres, with their step and reset buttons.
namespace reports::ui {

class PositionCorrectionBox : public QGroupBox {
    Q_OBJECT
public:
    explicit PositionCorrectionBox(QWidget* parent);

    // Shows the corrections in force, forgetting whatever was typed.
    void showCorrections(double horizontal, double vertical);
    // Reads both corrections (horizontal first); an edit that holds no number
    // is reported, focused and selected, and nothing is changed.
    bool takeCorrections(double& horizontal, double& vertical);

    // A step button moves its edit by 0.1 mm; ﾘｾｯﾄ empties both corrections.
    void sbPosClick(QObject* sender);
    // Leaving an edit shows its number in the edits' format.
    void edPrAdjustExit(QLineEdit* edit);

    QLineEdit* edPrAdjustV;
    QLineEdit* edPrAdjustH;
    QToolButton* sbPosUp;
    QToolButton* sbPosDown;
    QToolButton* sbPosLeft;
    QToolButton* sbPosRight;
    QToolButton* sbPosReset;
};

}  // namespace reports::ui
