#pragma once
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

// Qt's own texts in Japanese: the standard dialogs ("Look in", "File name",
// "Save"), their buttons, the printer set-up and the edits' context menus.
namespace platform::ui {

class QtTranslation {
public:
    // Loads Qt's Japanese catalogue from the folder (the system's Qt translations
    // by default) and installs it in the application for as long as this lives.
    // A missing or unreadable catalogue leaves Qt's texts in English: the program
    // works on without it.
    explicit QtTranslation(
        const QString& folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    bool installed() const { return installed_; }

private:
    QTranslator translator_;
    bool installed_ = false;
};

}  // namespace platform::ui
