#pragma once

#include "sqlgen.h"

#include <QMetaType>
#include <QString>
#include <QVariant>

/// A value as text: a null value as the empty text.
inline QString TextOf(const QVariant& v)
{
    // Text as it is held, without a conversion: the common case, over thousands of cells
    // (a null text column holds a null string).
    if (v.typeId() == QMetaType::QString)
        return *static_cast<const QString*>(v.constData());
    return v.isNull() ? QString() : v.toString();
}

/// A column as the server described it, plus what the change statements make of it.
struct TFieldDef
{
    QString name;
    QMetaType type;
    int typeId = 0;
    int length = 0;
    bool autoValue = false;
    bool readOnly = false;
    bool calculated = false;
    bool hidden = false;
    bool blob = false;
    /// Whole-number columns: the smallest and largest value the column can hold.
    bool integer = false;
    qlonglong minValue = 0;
    qulonglong maxValue = 0;

    bool Updatable() const { return !autoValue && !readOnly && !calculated && !hidden; }
    bool WhereEligible() const { return !blob && !calculated && length < MaxWhereDataSize; }
    bool Signed() const { return minValue < 0; }
    /// How many characters a text column holds on the server, 0 when not a text column.
    /// The driver reports the length in bytes of the connection's utf8mb4 (4 per
    /// character).
    int Characters() const
    {
        return type.id() == QMetaType::QString && !blob && length > 0 ? length / 4 : 0;
    }
};

/// Fills the whole-number range of `def` from the server's type number and whether
/// the driver reported the column as unsigned.
void SetIntegerRange(TFieldDef& def, bool isUnsigned);

enum class TNumberCheck {
    Ok,         ///< a number the column holds
    Incomplete, ///< empty, or a lone minus sign on the way to a negative number
    NotANumber,
    OutOfRange
};

/// Whether `text` is a whole number that column `def` can hold; on Ok, `value` (when
/// given) receives it as the column's type.
TNumberCheck CheckWholeNumber(const TFieldDef& def, const QString& text, QVariant* value = nullptr);

/// "from -2147483648 to 2147483647", for messages about the column.
QString NumberRangeText(const TFieldDef& def);

/// `value` as column `def` holds it: NULL as the column's NULL, text typed into a
/// number column as its number. A value the column cannot hold is refused with an
/// ERefusedValue naming the column, never changed into another value.
QVariant CoerceValue(const TFieldDef& def, const QVariant& value);
