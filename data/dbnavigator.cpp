#include "dbnavigator.h"

#include "binding.h"
#include "clientdataset.h"
#include "dbgrid.h"
#include "guard.h"

#include <QHBoxLayout>
#include <QPushButton>

using namespace binding;

TDBNavigator::TDBNavigator(TDataSource* source, int buttons, QWidget* parent)
    : QWidget(parent), m_source(source)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const QList<std::tuple<Button, QString, QString, QString>> all{
        {Prior, QStringLiteral("Prior"), tr("Prior"), QStringLiteral("\u25C0")},
        {Next, QStringLiteral("Next"), tr("Next"), QStringLiteral("\u25B6")},
        {Insert, QStringLiteral("Insert"), tr("Insert"), QStringLiteral("+")},
        {Delete, QStringLiteral("Delete"), tr("Delete"), QStringLiteral("\u2212")},
        {Cancel, QStringLiteral("Cancel"), tr("Cancel"), QStringLiteral("\u2716")},
        {Post, QStringLiteral("Post"), tr("Post"), QStringLiteral("\u2714")}};
    for (const auto& [b, name, caption, glyph] : all) {
        if (!(buttons & b))
            continue;
        auto* push = new QPushButton(glyph, this);
        push->setObjectName(QStringLiteral("Navigator") + name);
        push->setAccessibleName(caption);
        push->setToolTip(caption);
        push->setFocusPolicy(Qt::NoFocus);
        push->setFixedWidth(36);
        layout->addWidget(push);
        m_buttons << qMakePair(b, push);
        connect(push, &QPushButton::clicked, this, [this, b = b] {
            TSQLClientDataSet* set = setOf(m_source);
            if (!set || !set->Active())
                return;
            Guarded(this, [&] {
                switch (b) {
                case Prior:
                    set->Prior();
                    break;
                case Next:
                    set->Next();
                    break;
                case Insert:
                    m_source->UserStep(tr("Insert"), [set] { set->Insert(); });
                    break;
                case Delete:
                    if (!set->IsEmpty() && (!ConfirmDelete || ConfirmRowDelete(this)))
                        m_source->UserStep(tr("Delete"), [this, set] {
                            m_source->OnDelete ? m_source->OnDelete() : set->Delete();
                        });
                    break;
                case Cancel:
                    m_source->UserStep(tr("Cancel the edit"), [set] { set->Cancel(); });
                    break;
                case Post:
                    set->Post();
                    break;
                }
            });
        });
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(source, &TDataSource::DataChanged, this, &TDBNavigator::updateButtons);
    updateButtons();
}

QPushButton* TDBNavigator::ButtonFor(Button b) const
{
    for (const auto& [button, push] : m_buttons)
        if (button == b)
            return push;
    return nullptr;
}

void TDBNavigator::updateButtons()
{
    TSQLClientDataSet* set = setOf(m_source);
    const bool active = set && set->Active();
    const bool editing = active && set->IsEditing();
    for (const auto& [b, push] : m_buttons) {
        bool on = active;
        switch (b) {
        case Prior:
            on = active && !set->Bof();
            break;
        case Next:
            on = active && !set->Eof();
            break;
        case Delete:
            on = active && !set->IsEmpty();
            break;
        case Cancel:
        case Post:
            on = editing;
            break;
        case Insert:
            break;
        }
        push->setEnabled(on);
    }
}
