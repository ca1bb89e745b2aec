#include "renumberwin.h"

#include "formhelpers.h"
#include "mnemonics.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TRenumberWin::TRenumberWin(QList<TChannelRow> channels, int limit, QWidget* parent)
    : QDialog(parent), m_channels(std::move(channels)), m_limit(limit)
{
    setObjectName(QStringLiteral("RenumberWin"));
    setWindowTitle(tr("Renumber channels"));

    FirstEdit = Named(new QSpinBox(this), QStringLiteral("FirstEdit"));
    FirstEdit->setRange(0, 999999);
    FirstEdit->setValue(int(std::min<qlonglong>(FirstNumber(m_channels), 999999)));
    StepEdit = Named(new QSpinBox(this), QStringLiteral("StepEdit"));
    StepEdit->setRange(1, 9999);
    StepEdit->setValue(1);
    SummaryLabel = Named(new QLabel(this), QStringLiteral("SummaryLabel"));
    NoteLabel = Named(new QLabel(this), QStringLiteral("NoteLabel"));
    NoteLabel->setWordWrap(true);
    NoteLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    RenumberButton = Named(new QPushButton(tr("Renumber"), this), QStringLiteral("RenumberButton"));
    CancelButton = Named(new QPushButton(tr("Cancel"), this), QStringLiteral("CancelButton"));
    RenumberButton->setDefault(true);
    connect(RenumberButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(FirstEdit, &QSpinBox::valueChanged, this, &TRenumberWin::replan);
    connect(StepEdit, &QSpinBox::valueChanged, this, &TRenumberWin::replan);

    auto* form = new QFormLayout;
    form->addRow(BuddyLabel(tr("First number"), FirstEdit, this), FirstEdit);
    form->addRow(BuddyLabel(tr("Step"), StepEdit, this), StepEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(RenumberButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(SummaryLabel);
    layout->addWidget(NoteLabel);
    layout->addStretch(1);
    layout->addLayout(buttons);
    AssignMnemonics(this, {});
    resize(420, sizeHint().height());
    FirstEdit->setFocus();
    FirstEdit->selectAll();
    replan();
}

void TRenumberWin::replan()
{
    m_plan = PlanRenumber(m_channels, FirstEdit->value(), StepEdit->value(), m_limit);
    SummaryLabel->setText(m_plan.summary);
    QString note = m_plan.refused;
    if (note.isEmpty() && !m_plan.clashes.isEmpty()) {
        constexpr int Named = 8;
        QStringList names = m_plan.clashes.mid(0, Named);
        if (m_plan.clashes.size() > Named)
            names << tr("%1 more").arg(m_plan.clashes.size() - Named);
        note = tr("Already numbered so (allowed, and kept): %1.")
                   .arg(names.join(QStringLiteral(", ")));
    }
    NoteLabel->setText(note);
    NoteLabel->setVisible(!note.isEmpty());
    RenumberButton->setEnabled(m_plan.refused.isEmpty() && !m_plan.numbers.isEmpty());
}
