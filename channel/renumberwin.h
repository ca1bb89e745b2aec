#pragma once

#include "renumberplan.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QSpinBox;

/// "Renumber channels": the first number and the step, what will happen, the channels
/// outside the selection that have one of the numbers already, Renumber and Cancel.
class TRenumberWin : public QDialog
{
    Q_OBJECT

public:
    TRenumberWin(QList<TChannelRow> channels, int limit, QWidget* parent = nullptr);
    const TRenumberPlan& Plan() const { return m_plan; }

    QSpinBox* FirstEdit = nullptr;
    QSpinBox* StepEdit = nullptr;
    QLabel* SummaryLabel = nullptr;
    QLabel* NoteLabel = nullptr;
    QPushButton* RenumberButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void replan();

    QList<TChannelRow> m_channels;
    int m_limit;
    TRenumberPlan m_plan;
};
