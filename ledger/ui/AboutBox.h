#pragma once
#include <QDialog>
#include <QString>
#include <functional>

// The about box: the version text and the seller and developer lines; a
// program that names itself there gives its name, painted above them.
namespace ledger::ui {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(const QString& versionText, QWidget* parent = nullptr,
                      const QString& programName = {});

    // The largest size from 12 down at which widthAt(size) is at most 96 pixels;
    // at most 100 sizes are tried.
    static int FittedPointSize(const std::function<int(int pointSize)>& widthAt);

    int pointSize() const { return pointSize_; }
    QString versionLine() const { return QStringLiteral("Version ") + versionText_; }
    QString programName() const { return programName_; }

    // The program's name; null when the box shows none.
    QWidget* PaintBox = nullptr;
    QWidget* pbVersion;
    QWidget* pbLicense;

private:
    QString versionText_;
    QString programName_;
    int pointSize_ = 12;
};

}  // namespace ledger::ui
