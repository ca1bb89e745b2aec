#include "fielddef.h"

#include "errors.h"

#include <QCoreApplication>
#include <limits>

namespace {
// MySQL's type numbers of its whole-number columns, as the driver reports them.
enum MysqlType { Tiny = 1, Short = 2, Long = 3, LongLong = 8, Int24 = 9, Year = 13 };
} // namespace

void SetIntegerRange(TFieldDef& def, bool isUnsigned)
{
    int bits = 0;
    switch (def.typeId) {
    case Tiny:
        bits = 8;
        break;
    case Short:
        bits = 16;
        break;
    case Int24:
        bits = 24;
        break;
    case Long:
        bits = 32;
        break;
    case LongLong:
        bits = 64;
        break;
    case Year:
        def.integer = true;
        def.minValue = 0;
        def.maxValue = 2155;
        return;
    default:
        return;
    }
    def.integer = true;
    if (isUnsigned) {
        def.minValue = 0;
        def.maxValue =
            bits == 64 ? std::numeric_limits<qulonglong>::max() : (qulonglong(1) << bits) - 1;
    } else {
        def.minValue =
            bits == 64 ? std::numeric_limits<qlonglong>::min() : -(qlonglong(1) << (bits - 1));
        def.maxValue = bits == 64 ? qulonglong(std::numeric_limits<qlonglong>::max())
                                  : (qulonglong(1) << (bits - 1)) - 1;
    }
}

TNumberCheck CheckWholeNumber(const TFieldDef& def, const QString& text, QVariant* value)
{
    if (text.isEmpty() || (text == QLatin1String("-") && def.Signed()))
        return TNumberCheck::Incomplete;
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QStringView digits = QStringView(text).mid(negative ? 1 : 0);
    if (digits.isEmpty())
        return TNumberCheck::NotANumber;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return TNumberCheck::NotANumber;
    if (negative && !def.Signed()) {
        // "-0" is still zero; any other negative number is out of an unsigned range.
        for (QChar c : digits)
            if (c != QLatin1Char('0'))
                return TNumberCheck::OutOfRange;
    }
    bool ok = false;
    QVariant n;
    if (negative) {
        const qlonglong v = text.toLongLong(&ok);
        if (!ok || v < def.minValue)
            return TNumberCheck::OutOfRange;
        n = v;
    } else {
        const qulonglong v = digits.toULongLong(&ok);
        if (!ok || v > def.maxValue)
            return TNumberCheck::OutOfRange;
        n = v <= qulonglong(std::numeric_limits<qlonglong>::max()) ? QVariant(qlonglong(v))
                                                                   : QVariant(v);
    }
    if (value) {
        if (def.type.isValid())
            n.convert(def.type); // in range, so nothing is lost
        *value = n;
    }
    return TNumberCheck::Ok;
}

namespace {

/// The texts of a value refused, translated as the data set's.
struct TFieldValueText
{
    Q_DECLARE_TR_FUNCTIONS(TSQLClientDataSet)
};

} // namespace

QString NumberRangeText(const TFieldDef& def)
{
    return QCoreApplication::translate("TFieldDef", "from %1 to %2")
        .arg(QString::number(def.minValue), QString::number(def.maxValue));
}

QVariant CoerceValue(const TFieldDef& f, const QVariant& value)
{
    const int type = f.type.id();
    if (value.isNull())
        return QVariant(f.type);
    if (f.integer) {
        // Checked against the column's range: a number the column cannot hold is
        // refused here, never wrapped into another number on the way to the server.
        const QString text = value.toString().trimmed();
        QVariant number;
        switch (CheckWholeNumber(f, text, &number)) {
        case TNumberCheck::Ok:
            return number;
        case TNumberCheck::Incomplete:
            if (text.isEmpty())
                return QVariant(f.type);
            [[fallthrough]];
        case TNumberCheck::NotANumber:
            throw ERefusedValue(
                TFieldValueText::tr("\"%1\" is not a whole number; the column \"%2\" holds "
                                    "whole numbers %3.")
                    .arg(text, f.name, NumberRangeText(f)),
                f.name);
        case TNumberCheck::OutOfRange:
            throw ERefusedValue(
                TFieldValueText::tr("%1 is too large for the column \"%2\", which holds whole "
                                    "numbers %3.")
                    .arg(text, f.name, NumberRangeText(f)),
                f.name);
        }
    }
    const bool isFloat = type == QMetaType::Double || type == QMetaType::Float;
    if (isFloat && value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return QVariant(f.type);
        bool ok = false;
        QVariant converted = text.toDouble(&ok);
        if (!ok || !converted.convert(f.type))
            throw ERefusedValue(
                TFieldValueText::tr("\"%1\" is not a number; the column \"%2\" holds numbers.")
                    .arg(text, f.name),
                f.name);
        return converted;
    }
    if (type == QMetaType::QString && value.typeId() != QMetaType::QString)
        return value.toString();
    return value;
}
