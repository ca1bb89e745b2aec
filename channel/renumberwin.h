#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QSpinBox;

/// A channel of the source as renumbering sees it.
struct TRenumberChannel
{
    QString name;    // for messages
    QString channum; // its number now
    bool selected = false;
};

/// What renumbering will do.
struct TRenumberPlan
{
    QStringList numbers; // the selected channels' new numbers, in their order
    QString summary;     // "11 channels: 1 to 11"
    QStringList clashes; // unselected channels that have one of the new numbers already
    QString refused;     // why it cannot be done; empty when it can
};

/// The lowest whole number the selected channels have, 1 when none has one.
qlonglong FirstNumber(const QList<TRenumberChannel>& channels);

/// Numbers the selected channels of `channels` (in their order) from `first` on, `step`
/// apart; a number longer than `limit` characters is refused, naming the channel.
TRenumberPlan PlanRenumber(const QList<TRenumberChannel>& channels, qlonglong first, qlonglong step,
                           int limit);

/// "Renumber channels": the first number and the step, what will happen, the channels
/// outside the selection that have one of the numbers already, Renumber and Cancel.
class TRenumberWin : public QDialog
{
    Q_OBJECT

public:
    TRenumberWin(QList<TRenumberChannel> channels, int limit, QWidget* parent = nullptr);
    const TRenumberPlan& Plan() const { return m_plan; }

    QSpinBox* FirstEdit = nullptr;
    QSpinBox* StepEdit = nullptr;
    QLabel* SummaryLabel = nullptr;
    QLabel* NoteLabel = nullptr;
    QPushButton* RenumberButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void replan();

    QList<TRenumberChannel> m_channels;
    int m_limit;
    TRenumberPlan m_plan;
};
