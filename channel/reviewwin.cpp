#include "reviewwin.h"

#include "formhelpers.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TReviewWin::TReviewWin(const QString& title, const QString& name, const QString& tableName,
                       QAbstractItemModel* model, int stretched, int tick, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(title);
    resize(860, 520);

    Table = Named(new QTableView(this), tableName);
    Table->setModel(model);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setTabKeyNavigation(false);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 8);
    Table->horizontalHeader()->setSectionResizeMode(stretched, QHeaderView::Stretch);
    Table->setColumnWidth(tick, 60);
    Table->horizontalHeader()->moveSection(tick, stretched);
    Table->installEventFilter(this);

    CountsLabel = Named(new QLabel(this), QStringLiteral("CountsLabel"));
    ApplyButton = Named(new QPushButton(tr("&Apply"), this), QStringLiteral("ApplyButton"));
    CancelButton = Named(new QPushButton(tr("&Cancel"), this), QStringLiteral("CancelButton"));
    ApplyButton->setDefault(true);
    connect(ApplyButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch(1);
    m_buttons->addWidget(ApplyButton);
    m_buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Table, 1);
    layout->addWidget(CountsLabel);
    layout->addLayout(m_buttons);
}

void TReviewWin::ShowCounts(const QString& counts, int ticked)
{
    CountsLabel->setText(counts + (ticked == 1 ? tr(". Apply fills in 1 channel.")
                                               : tr(". Apply fills in %1 channels.").arg(ticked)));
    ApplyButton->setEnabled(ticked > 0);
}

bool TReviewWin::eventFilter(QObject* watched, QEvent* event)
{
    // (While an editor of the table is open, keys go to it, not to the table.)
    if (watched == Table && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QModelIndex current = Table->currentIndex();
        if (current.isValid() && key->modifiers() == Qt::NoModifier &&
            key->key() == Qt::Key_Space) {
            SetTicked(current.row(), !Ticked(current.row()));
            return true;
        }
        if (current.isValid() && m_pickColumn >= 0 && key->modifiers() == Qt::NoModifier &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            // The row's list, open: typing jumps in it.
            const QModelIndex cell = Table->model()->index(current.row(), m_pickColumn);
            Table->setCurrentIndex(cell);
            if (Table->model()->flags(cell) & Qt::ItemIsEditable) {
                Table->edit(cell);
                if (auto* combo = qobject_cast<QComboBox*>(Table->indexWidget(cell)))
                    combo->showPopup();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
