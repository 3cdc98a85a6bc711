#include "reports/ui/ReportWindows.h"

#include <QPrintDialog>
#include <QPrinter>

#include "ledger/Ledger.h"
#include "ledger/ui/EmployeeListDialog.h"
#include "ledger/ui/FolderChooser.h"
#include "ledger/ui/MainWindow.h"
#include "ledger/ui/PayrollWindows.h"
#include "platform/ui/Printer.h"
#include "reports/ui/LedgerRowsDialog.h"
#include "reports/ui/PrintDialog.h"
#include "reports/ui/PrintOnPrinter.h"
#include "reports/ui/PrintPreview.h"
#include "reports/ui/ReportExports.h"
#include "reports/ui/SlipImages.h"

namespace reports::ui {

namespace {

bool runModal(ledger::ui::MainWindow& owner, QDialog& dialog) {
    if (owner.runModal) return owner.runModal(dialog);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

ReportWindows::ReportWindows(ledger::Ledger& ledger, ledger::ui::PayrollWindows& forms) {
    ledger::ui::MainWindow* owner = forms.fmMain.get();
    printer = std::make_unique<platform::ui::Printer>();
    fmInji = new PrintDialog(ledger, owner->IniFileName, printer.get(), owner);
    fmPrnItem = new LedgerRowsDialog(ledger.sysOption, owner->IniFileName, owner);

    ledger::ui::EmployeeListDialog* list = forms.fmMembList;
    fmInji->selectedSlots = [list] { return list->chosenSlots(); };
    platform::ui::Printer* p = printer.get();
    PrintDialog* inji = fmInji;
    fmInji->printSheets = [p, inji](const QString& title, int sheets,
                                    const PrintDialog::SheetDrawer& draw) {
        return PrintOnPrinter(
            *p, title, sheets, [&draw](PrnCanvas& c, int sheet) { draw(c, sheet, false); }, inji);
    };
    fmInji->printerSetup = [p, inji] {
        QPrintDialog dialog(&p->qprinter(), inji);
        dialog.exec();
    };
    fmPreView = new PrintPreview(owner);
    PrintPreview* preview = fmPreView;
    fmInji->showPreview = [p, preview](const PrintDialog::PreviewRequest& request) {
        PreviewDocument doc;
        doc.pageCount = request.sheets;
        doc.drawPage = [preview, draw = request.draw](PrnCanvas& c, int sheet) {
            draw(c, sheet, !preview->enlarged());
        };
        if (request.background)
            doc.drawBackground = [preview, draw = request.background](PrnCanvas& c, int sheet) {
                draw(c, sheet, !preview->enlarged());
            };
        doc.print = request.print;
        doc.printer = GeometryOf(*p);
        return preview->run(doc) == QDialog::Accepted;
    };

    const std::filesystem::path settings = owner->IniFileName.parent_path();
    ledger::Ledger* l = &ledger;
    fmInji->exportLedgerCsv = [l, list, settings](PrintDialog& dialog) {
        return ExportLedgerCsvCommand(*l, dialog.RowFlags, list->chosenSlots(), settings, &dialog);
    };
    fmInji->exportMonthlyCsv = [l, settings](PrintDialog& dialog) {
        return ExportMonthlyCsvCommand(*l, DocTargetOf(dialog.Tag), dialog.pageJob().plan.grouping,
                                       dialog.RowFlags, settings, &dialog);
    };
    ledger::ui::FolderChooser* folder = forms.fmFolder;
    fmInji->exportSlipImages = [l, list, p, folder](PrintDialog& dialog) {
        SlipImageTarget target;
        target.dpiX = p->dpiX();
        target.dpiY = p->dpiY();
        target.physOffsetXDots = p->physicalOffset().x();
        target.physOffsetYDots = p->physicalOffset().y();
        target.prAdjustH = dialog.PrAdjustH;
        target.prAdjustV = dialog.PrAdjustV;
        return SaveSlipImages(*l, dialog.pageJob(), list->chosenSlots(), target, *folder, &dialog);
    };

    ledger::ui::ReportDialogs hooks;
    // The hooks hold the dialogs, which live as long as the main window.
    LedgerRowsDialog* prnItem = fmPrnItem;
    hooks.showPrnItem = [prnItem, owner] { return runModal(*owner, *prnItem); };
    hooks.showPrintDialog = [inji, owner](const ledger::PrintRequest& request) {
        inji->setRequest(QString::fromStdString(request.caption), request.tag);
        runModal(*owner, *inji);
    };
    owner->setReportDialogs(std::move(hooks));
    list->printRoster = [inji, list] {
        inji->setRequest(QStringLiteral("社員名簿一覧表"), 100);
        inji->exec();
        list->activateWindow();
    };
}

ReportWindows::~ReportWindows() = default;

std::unique_ptr<ReportWindows> CreateReportWindows(ledger::Ledger& ledger,
                                                   ledger::ui::PayrollWindows& forms) {
    if (!forms.created || !forms.fmMain) return nullptr;
    return std::make_unique<ReportWindows>(ledger, forms);
}

}  // namespace reports::ui
