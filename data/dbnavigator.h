#pragma once

#include <QList>
#include <QPair>
#include <QPointer>
#include <QWidget>

class QPushButton;
class TDataSource;

/// Buttons that move through, add, delete, cancel and post rows.
class TDBNavigator : public QWidget
{
    Q_OBJECT

public:
    enum Button { Prior = 1, Next = 2, Insert = 4, Delete = 8, Cancel = 16, Post = 32 };
    TDBNavigator(TDataSource* source, int buttons, QWidget* parent = nullptr);
    QPushButton* ButtonFor(Button b) const;
    bool ConfirmDelete = true;

private:
    void updateButtons();
    QPointer<TDataSource> m_source;
    QList<QPair<Button, QPushButton*>> m_buttons;
};
