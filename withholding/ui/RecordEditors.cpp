#include "withholding/ui/RecordEditors.h"

#include <QLineEdit>
#include <QListWidget>

#include "ledger/ui/MessageBoxSink.h"
#include "withholding/PostalCodes.h"
#include "withholding/YearEndOption.h"
#include "withholding/ui/DataEdit.h"
#include "withholding/ui/DataEdit2.h"
#include "withholding/ui/Family.h"
#include "withholding/ui/Main.h"

namespace withholding::ui {

std::function<void(int, bool)> CreateRecordEditors(TfmMain& main, ledger::Ledger& ledger,
                                                   WithholdingData& data,
                                                   const YearEndOption& option) {
    auto* family = new TfmFamily(ledger, data, &main);
    auto* oldEditor = new TfmDataEdit(ledger, data, &main);
    auto* newEditor = new TfmDataEdit2(ledger, data, &main);
    newEditor->setFamilyDialog(family);
    for (TfmRecordEditor* editor :
         {static_cast<TfmRecordEditor*>(oldEditor), static_cast<TfmRecordEditor*>(newEditor)}) {
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
        TfmRecordEditor* editor = newLayout ? static_cast<TfmRecordEditor*>(newEditor) : oldEditor;
        editor->EditSlot = slot;
        main.runModal(*editor);
    };
}

}  // namespace withholding::ui
