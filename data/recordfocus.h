#pragma once

#include "recordref.h"

class QWidget;
class TSQLClientDataSet;

/// The data set of `window` opened on `table` (its command names the table), if any.
TSQLClientDataSet* DataSetOn(QWidget* window, const QString& table);

/// The control of `window` shown now that is bound to `column` of its data set on
/// `table`, if one is.
QWidget* BoundControl(QWidget* window, const QString& table, const QString& column);

/// Goes to `record` in an editor: makes its row current in the window's data set on its
/// table and puts the focus in the control of the column in question. A row or control
/// that is not there is passed over (the window stays where it was). Returns whether the
/// row was found.
bool GoToRecord(QWidget* window, const TRecordRef& record);
