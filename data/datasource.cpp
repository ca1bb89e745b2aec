#include "datasource.h"

#include "binding.h"

#include <QLabel>
#include <QToolTip>
#include <QWidget>

using namespace binding;

bool binding::StandsFor(const TFieldDef* column, const QString& text, const QVariant& value)
{
    if (!column || !column->integer || value.isNull())
        return false;
    QVariant typed;
    return CheckWholeNumber(*column, text.trimmed(), &typed) == TNumberCheck::Ok && typed == value;
}

// --- what may be typed ------------------------------------------------------------

TFieldValidator::TFieldValidator(TDataSource* source, const QString& field, int limit,
                                 QObject* parent)
    : QValidator(parent), m_source(source), m_field(field), m_limit(limit)
{
}

const TFieldDef* TFieldValidator::Column() const
{
    TSQLClientDataSet* set = setOf(m_source);
    return set && set->Active() && !m_field.isEmpty() ? set->Field(m_field) : nullptr;
}

QValidator::State TFieldValidator::validate(QString& input, int&) const
{
    // The limit applies to what is typed, not to what is shown: a stored value longer
    // than the limit is displayed whole (QLineEdit's own maxLength would cut it, and
    // the next keystroke would write the cut text back).
    const TFieldDef* column = Column();
    // Never more than the column on the server holds: Save would fail on it.
    const int limit =
        column && column->Characters() > 0 ? std::min(m_limit, column->Characters()) : m_limit;
    if (input.size() > std::max<qsizetype>(limit, m_stored))
        return Invalid;
    if (!column || !column->integer)
        return Acceptable;
    m_check = CheckWholeNumber(*column, input.trimmed());
    switch (m_check) {
    case TNumberCheck::Ok:
        return Acceptable;
    case TNumberCheck::Incomplete:
        return Intermediate;
    case TNumberCheck::NotANumber:
    case TNumberCheck::OutOfRange:
        break;
    }
    m_refused = input;
    return Invalid;
}

bool TFieldValidator::Incomplete(const QString& text) const
{
    const TFieldDef* column = Column();
    return column && column->integer && !text.trimmed().isEmpty() &&
           CheckWholeNumber(*column, text.trimmed()) == TNumberCheck::Incomplete;
}

QString TFieldValidator::Notice(const QString& caption) const
{
    const TFieldDef* column = Column();
    if (!column || !column->integer || m_refused.isEmpty())
        return QString();
    const QString range = NumberRangeText(*column);
    if (m_check == TNumberCheck::OutOfRange)
        return tr("\u201C%1\u201D holds whole numbers %2: %3 does not fit.")
            .arg(caption, range, m_refused.trimmed());
    return tr("\u201C%1\u201D holds whole numbers %2%3.")
        .arg(caption, range,
             column->Signed() ? tr(" (digits, with a minus sign in front for less than zero)")
                              : tr(" (digits only)"));
}

namespace {
QString& lastNotice()
{
    static QString text;
    return text;
}
} // namespace

void ShowFieldNotice(QWidget* field, const QString& text)
{
    if (text.isEmpty())
        return;
    lastNotice() = text;
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), text, field);
}

QString LastFieldNotice()
{
    return lastNotice();
}

void ClearFieldNotice()
{
    lastNotice().clear();
}

QString FieldCaption(QWidget* field)
{
    if (!field)
        return QString();
    for (QLabel* label : field->window()->findChildren<QLabel*>())
        if (label->buddy() == field) {
            QString text = label->text();
            return text.remove(QLatin1Char('&'));
        }
    return field->accessibleName().isEmpty() ? field->objectName() : field->accessibleName();
}

// --- TDataSource ------------------------------------------------------------------

TDataSource::TDataSource(TSQLClientDataSet* dataSet, QObject* parent) : QObject(parent)
{
    SetDataSet(dataSet);
}

void TDataSource::SetDataSet(TSQLClientDataSet* dataSet)
{
    for (const auto& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_dataSet = dataSet;
    if (dataSet) {
        m_connections
            << connect(dataSet, &TSQLClientDataSet::RowsChanged, this, &TDataSource::DataChanged)
            << connect(dataSet, &TSQLClientDataSet::CurrentChanged, this, &TDataSource::DataChanged)
            << connect(dataSet, &TSQLClientDataSet::StateChanged, this, &TDataSource::DataChanged);
    }
    emit DataChanged();
}

bool TDataSource::WriteField(const QString& field, const QVariant& value)
{
    if (BeforeWrite && AutoEdit)
        BeforeWrite();
    if (!m_dataSet || !m_dataSet->Active())
        return false;
    const TDataSetState state = m_dataSet->State();
    if (state != TDataSetState::Edit && state != TDataSetState::Insert) {
        if (!AutoEdit)
            return false;
        m_dataSet->Edit(); // starts a row when the set has none
    }
    m_dataSet->SetFieldValue(field, value);
    return true;
}

QVariant TDataSource::Value(const QString& field) const
{
    if (!m_dataSet || !m_dataSet->Active() || field.isEmpty())
        return QVariant();
    return m_dataSet->FieldValue(field);
}
