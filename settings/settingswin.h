#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class TSQLClientDataSet;
class TDataSource;

/// Shows the database connection in use and lays out the recording system's base
/// settings. It reads nothing from the database and stores nothing.
class TSettingsWin : public QDialog
{
    Q_OBJECT

public:
    explicit TSettingsWin(QWidget* parent = nullptr);

    QLineEdit* DBHostnameEdit = nullptr;
    QLineEdit* DBPortEdit = nullptr;
    QLineEdit* DBNameEdit = nullptr;
    QLineEdit* DBUsernameEdit = nullptr;
    QLineEdit* DBPasswordEdit = nullptr;
    TSQLClientDataSet* BackendDataSet = nullptr;
    TDataSource* BackendDataSource = nullptr;
    QLabel* UnboundNotice = nullptr; // what is not stored
};
