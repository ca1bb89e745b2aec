#include "lineupwin.h"

#include "formhelpers.h"
#include "guard.h"
#include "lineupreport.h"
#include "mnemonics.h"
#include "sqlmodule.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TLineupWin::TLineupWin(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LineupWin"));
    setWindowTitle(tr("Line-up check"));
    setModal(false);
    setSizeGripEnabled(true);
    resize(900, 420);

    ProblemTable = Named(new QTableWidget(0, 4, this), QStringLiteral("ProblemTable"));
    ProblemTable->setHorizontalHeaderLabels(
        {tr("Severity"), tr("What is wrong"), tr("Where"), tr("Why it matters")});
    ProblemTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ProblemTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ProblemTable->setSelectionMode(QAbstractItemView::SingleSelection);
    ProblemTable->setTabKeyNavigation(false);
    ProblemTable->setWordWrap(false);
    ProblemTable->verticalHeader()->hide();
    ProblemTable->horizontalHeader()->setStretchLastSection(true);
    ProblemTable->setAccessibleName(tr("Problems found"));
    ProblemTable->setToolTip(tr("Double-click or Enter opens the editor where the problem is"));
    ProblemTable->installEventFilter(this);
    connect(ProblemTable, &QTableWidget::cellDoubleClicked, this,
            [this](int row) { Guarded(this, [&] { OpenRow(row); }); });

    // The current row's texts whole, as the columns may cut them short.
    DetailLabel = Named(new QLabel(this), QStringLiteral("DetailLabel"));
    DetailLabel->setWordWrap(true);
    DetailLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    DetailLabel->setMinimumHeight(3 * DetailLabel->fontMetrics().lineSpacing());
    DetailLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(ProblemTable, &QTableWidget::currentCellChanged, this, &TLineupWin::showDetail);
    SummaryLabel = Named(new QLabel(this), QStringLiteral("SummaryLabel"));
    QFont bold = SummaryLabel->font();
    bold.setBold(true);
    SummaryLabel->setFont(bold);
    CheckButton = Named(new QPushButton(tr("Check again"), this), QStringLiteral("CheckButton"));
    CloseButton = Named(new QPushButton(tr("Close"), this), QStringLiteral("CloseButton"));
    CheckButton->setAutoDefault(false);
    CloseButton->setAutoDefault(false);
    connect(CheckButton, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { Check(); }); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SummaryLabel, 1);
    buttons->addWidget(CheckButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProblemTable, 1);
    layout->addWidget(DetailLabel);
    layout->addLayout(buttons);
    AssignMnemonics(this, {});
    ProblemTable->setFocus();
}

void TLineupWin::Check()
{
    present(CheckLineup(ReadLineup(*SQLModule->Conn)));
}

void TLineupWin::present(const QList<TProblem>& problems)
{
    m_problems = problems;
    const int before = ProblemTable->currentRow();
    ProblemTable->setRowCount(int(problems.size()));
    for (int r = 0; r < problems.size(); ++r) {
        const TProblem& p = problems[r];
        const bool error = p.severity == TProblem::Severity::Error;
        const QStringList cells{SeverityText(p.severity), p.what, p.where, p.why};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            if (c == 0 && error)
                item->setForeground(Qt::red);
            if (p.record.IsEmpty())
                item->setData(Qt::AccessibleDescriptionRole, tr("This row cannot be opened"));
            ProblemTable->setItem(r, c, item);
        }
    }
    // The columns fit what they show; the last takes the rest (its texts are whole below).
    for (int c = 0; c + 1 < ProblemTable->columnCount(); ++c)
        ProblemTable->resizeColumnToContents(c);
    SummaryLabel->setText(ProblemSummary(problems));
    if (!problems.isEmpty())
        ProblemTable->setCurrentCell(std::clamp(before, 0, int(problems.size()) - 1), 0);
    showDetail(ProblemTable->currentRow());
}

void TLineupWin::showDetail(int row)
{
    const TProblem* p = row >= 0 && row < m_problems.size() ? &m_problems[row] : nullptr;
    DetailLabel->setText(p ? QStringLiteral("%1 \u2014 %2\n%3").arg(p->what, p->where, p->why)
                           : QString());
}

void TLineupWin::OpenRow(int row)
{
    if (row < 0 || row >= m_problems.size())
        return;
    const TProblem problem = m_problems[row];
    if (problem.record.IsEmpty()) {
        SummaryLabel->setText(tr("That row cannot be opened: %1").arg(problem.where));
        return;
    }
    if (OpenEditor)
        OpenEditor(problem);
    Check(); // the editor may have mended it, or made another
}

bool TLineupWin::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ProblemTable && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Guarded(this, [this] { OpenRow(ProblemTable->currentRow()); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
