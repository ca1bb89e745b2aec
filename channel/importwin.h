#pragma once

#include "importplan.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

/// The preview of an import, titled "Import channels": one row per service of the file
/// (name, frequency, PIDs, service id) and what will happen to it, the counts of each,
/// "Include radio services", and the buttons Import and Cancel.
class TImportWin : public QDialog
{
    Q_OBJECT

public:
    TImportWin(QList<TScannedService> services, QList<TChannelRow> channels, TCardKind cardKind,
               TImportLimits limits, QWidget* parent = nullptr);

    /// What Import will do, as the dialog shows it now.
    const TImportPlan& Plan() const { return m_plan; }

    QTableWidget* Table = nullptr;
    QCheckBox* RadioCheck = nullptr;
    QLabel* CountsLabel = nullptr;
    QPushButton* ImportButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void replan();

    QList<TScannedService> m_services;
    QList<TChannelRow> m_channels;
    QString frequency(const TScannedService& service) const;
    TCardKind m_cardKind;
    TImportLimits m_limits;
    TImportPlan m_plan;
};
