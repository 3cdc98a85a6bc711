#include "withholding/ui/RecordEditors.h"

#include <QLineEdit>
#include <QListWidget>

#include "ledger/ui/MessageBoxSink.h"
#include "withholding/PostalCodes.h"
#include "withholding/YearEndOption.h"
#include "withholding/ui/FamilyDialog.h"
#include "withholding/ui/MainWindow.h"
#include "withholding/ui/NewLayoutRecordEditor.h"
#include "withholding/ui/OldLayoutRecordEditor.h"

namespace withholding::ui {

std::function<void(int, bool)> CreateRecordEditors(MainWindow& main, ledger::Ledger& ledger,
                                                   WithholdingData& data,
                                                   const YearEndOption& option) {
    auto* family = new FamilyDialog(ledger, data, &main);
    auto* oldEditor = new OldLayoutRecordEditor(ledger, data, &main);
    auto* newEditor = new NewLayoutRecordEditor(ledger, data, &main);
    newEditor->setFamilyDialog(family);
    for (RecordEditor* editor :
         {static_cast<RecordEditor*>(oldEditor), static_cast<RecordEditor*>(newEditor)}) {
        editor->runModal = [&main](QDialog& d) { return main.runModal(d); };
        editor->selectListSlot = [&main](int slot) {
            for (int row = 0; row < main.ListBox->count(); ++row)
                if (main.ListBox->item(row)->data(Qt::UserRole).toInt() == slot) {
                    main.ListBox->setCurrentRow(row);
                    return;
                }
        };
        editor->lookupAddress = [&main, &option, editor](QLineEdit* postal, QLineEdit* address) {
            ledger::ui::MessageBoxSink sink(editor);
            if (auto text = LookupAddress(option, main.DataPath, postal->text().toStdString(),
                                          address->text().toStdString(), sink))
                address->setText(QString::fromStdString(*text));
        };
        editor->yearEndOption = &option;
    }
    return [&main, oldEditor, newEditor](int slot, bool newLayout) {
        RecordEditor* editor = newLayout ? static_cast<RecordEditor*>(newEditor) : oldEditor;
        editor->EditSlot = slot;
        main.runModal(*editor);
    };
}

}  // namespace withholding::ui
