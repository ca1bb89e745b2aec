#pragma once

class QStyledItemDelegate;
class TDataSource;
class TDBGrid;

/// How a grid's cells are drawn and edited: editors that obey their column's limits,
/// and plain text drawn from layouts kept for it.
QStyledItemDelegate* NewGridDelegate(TDBGrid* grid, TDataSource* source);
