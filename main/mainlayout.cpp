// The main window's controls and actions: where each sits, and the keys that reach it.
#include "mainwin.h"

#include "busynotice.h"
#include "cardwin.h"
#include "channelwin.h"
#include "clientdataset.h"
#include "dbcontrols.h"
#include "errors.h"
#include "formhelpers.h"
#include "geometry.h"
#include "guard.h"
#include "lineupwin.h"
#include "lineupwriter.h"
#include "messagebox.h"
#include "mnemonics.h"
#include "recordfocus.h"
#include "settingswin.h"
#include "sqlmodule.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <exception>
#include <memory>
#include <optional>

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, QSize size,
                    bool bold)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    if (bold) {
        QFont font(QStringLiteral("Helvetica"));
        font.setPixelSize(15);
        font.setBold(true);
        b->setFont(font);
    }
    // The designed size, or what the caption needs in a larger font.
    b->setFixedSize(std::max(size.width(), b->fontMetrics().horizontalAdvance(caption) + 8),
                    std::max(size.height(), b->fontMetrics().height() + 8));
    return b;
}

QAction* action(QWidget* owner, const QString& name, const QString& text)
{
    auto* a = new QAction(text, owner);
    a->setObjectName(name);
    owner->addAction(a);
    return a;
}

} // namespace

void TMainWin::setUpLayout()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);
    resize(795, 580);

    Label2 = new QLabel(tr("Channel source"), client);
    Label2->setObjectName(QStringLiteral("Label2"));
    SourceGrid = new TDBGrid(SourceDataSource, {{QStringLiteral("name"), tr("Name"), 500}}, client);
    SourceGrid->setObjectName(QStringLiteral("SourceGrid"));
    SourceGrid->SetReadOnly(true);
    Label2->setBuddy(SourceGrid);
    SourceInsertButton =
        button(client, QStringLiteral("SourceInsertButton"), tr("+"), {49, 49}, true);
    SourceDeleteButton =
        button(client, QStringLiteral("SourceDeleteButton"), tr("-"), {49, 49}, true);
    SourceEditButton =
        button(client, QStringLiteral("SourceEditButton"), tr("Edit..."), {49, 49}, false);

    Label1 = new QLabel(tr("TV card"), client);
    Label1->setObjectName(QStringLiteral("Label1"));
    CardGrid = new TDBGrid(CardDataSource,
                           {{QStringLiteral("cardtype"), tr("Type"), 60},
                            {QStringLiteral("videodevice"), tr("Video device"), 160},
                            {QStringLiteral("hostname"), tr("Hostname"), 160}},
                           client);
    CardGrid->setObjectName(QStringLiteral("CardGrid"));
    CardGrid->SetReadOnly(true);
    Label1->setBuddy(CardGrid);
    CardInsertButton = button(client, QStringLiteral("CardInsertButton"), tr("+"), {49, 49}, true);
    CardDeleteButton = button(client, QStringLiteral("CardDeleteButton"), tr("-"), {49, 49}, true);
    CardEditButton =
        button(client, QStringLiteral("CardEditButton"), tr("Edit..."), {49, 49}, false);

    SettingsOpenButton = button(client, QStringLiteral("SettingsOpenButton"),
                                tr("Base settings..."), {145, 41}, false);
    CheckButton = button(client, QStringLiteral("CheckButton"), tr("Check..."), {85, 41}, false);
    HistoryButton =
        button(client, QStringLiteral("HistoryButton"), tr("History..."), {85, 41}, false);

    // At 795 x 580 everything sits where it was designed: the lists 425 x 120 at 16/64
    // and 16/241 with their buttons beside them, "Base settings..." at 448/432. A larger
    // window gives its extra width and height to the two lists, shared evenly; the space
    // right of the buttons and below them shrinks first when the window gets smaller.
    for (TDBGrid* grid : {SourceGrid, CardGrid}) {
        grid->setMinimumWidth(200);
        grid->SetMinimumRows(3);
        grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    auto buttonRow = [](std::initializer_list<QPushButton*> buttons) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        for (QPushButton* b : buttons)
            row->addWidget(b);
        row->addStretch(1);
        return row;
    };
    auto* layout = new QGridLayout(client);
    layout->setContentsMargins(16, 40, 0, 0);
    layout->setHorizontalSpacing(7);
    layout->setVerticalSpacing(0);
    layout->addWidget(Label2, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(SourceGrid, 1, 0);
    layout->addLayout(buttonRow({SourceInsertButton, SourceDeleteButton, SourceEditButton}), 1, 1,
                      Qt::AlignTop);
    layout->addItem(new QSpacerItem(0, 32, QSizePolicy::Minimum, QSizePolicy::Fixed), 2, 0);
    layout->addWidget(Label1, 3, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(CardGrid, 4, 0);
    layout->addLayout(buttonRow({CardInsertButton, CardDeleteButton, CardEditButton}), 4, 1,
                      Qt::AlignTop);
    layout->addItem(new QSpacerItem(0, 71, QSizePolicy::Minimum, QSizePolicy::Fixed), 5, 0);
    layout->addWidget(SettingsOpenButton, 6, 1, Qt::AlignLeft | Qt::AlignTop);
    auto* checkRow = buttonRow({CheckButton, HistoryButton}); // beside it
    checkRow->setSpacing(7);
    layout->addLayout(checkRow, 6, 2, Qt::AlignLeft | Qt::AlignTop);
    // The designed empty space right and below: given up first when the window shrinks.
    // (Less the spacing before Check..., which stands in its column.)
    layout->addItem(new QSpacerItem(193, 107, QSizePolicy::Preferred, QSizePolicy::Preferred), 7,
                    2);
    layout->setRowMinimumHeight(0, 24);
    layout->setRowMinimumHeight(3, 25);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(0, 1);

    // What each button acts on, for the mouse (the grids' Insert and Delete keys and the
    // buttons' mnemonics serve the keyboard).
    SourceInsertButton->setToolTip(tr("Add a channel source (Insert in its list)"));
    SourceDeleteButton->setToolTip(tr("Delete the selected channel source (Delete in its list)"));
    SourceEditButton->setToolTip(tr("Edit the selected channel source and its channels"));
    CardInsertButton->setToolTip(tr("Add a capture card (Insert in its list)"));
    CardDeleteButton->setToolTip(tr("Delete the selected capture card (Delete in its list)"));
    CardEditButton->setToolTip(tr("Edit the selected capture card and its inputs"));
    SettingsOpenButton->setToolTip(tr("Open the base settings"));
    CheckButton->setToolTip(
        tr("Find what would stop the recorder recording: sources, channels and cards (F7)"));
    HistoryButton->setToolTip(
        tr("Every write this program made to the database, each of which can be taken back "
           "(Ctrl+H)"));
    SourceInsertButton->setAccessibleName(tr("Insert channel source"));
    SourceDeleteButton->setAccessibleName(tr("Delete channel source"));
    CardInsertButton->setAccessibleName(tr("Insert capture card"));
    CardDeleteButton->setAccessibleName(tr("Delete capture card"));

    AssignMnemonics(this, {});
    SetTabChain({SourceGrid, SourceInsertButton, SourceDeleteButton, SourceEditButton, CardGrid,
                 CardInsertButton, CardDeleteButton, CardEditButton, SettingsOpenButton,
                 CheckButton, HistoryButton});
    CardGrid->setFocus();
}

void TMainWin::setUpActions()
{
    SourceEditAction = action(this, QStringLiteral("SourceEditAction"), tr("Edit..."));
    CardEditAction = action(this, QStringLiteral("CardEditAction"), tr("Edit..."));
    SourceInsertAction = action(this, QStringLiteral("SourceInsertAction"), tr("+"));
    CardInsertAction = action(this, QStringLiteral("CardInsertAction"), tr("+"));
    SourceDeleteAction = action(this, QStringLiteral("SourceDeleteAction"), tr("-"));
    CardDeleteAction = action(this, QStringLiteral("CardDeleteAction"), tr("-"));
    SettingsOpenAction = action(this, QStringLiteral("SettingsOpenAction"), tr("Base settings..."));
    RefreshAction = action(this, QStringLiteral("RefreshAction"), tr("Refresh"));
    RefreshAction->setShortcut(QKeySequence::Refresh);
    CheckAction = action(this, QStringLiteral("CheckAction"), tr("Check..."));
    CheckAction->setShortcut(QKeySequence(Qt::Key_F7));
    HistoryAction = action(this, QStringLiteral("HistoryAction"), tr("History..."));
    HistoryAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    auto* quit = action(this, QStringLiteral("QuitAction"), tr("Quit"));
    quit->setShortcut(QKeySequence::Quit);

    // Each handler's failure is shown where it was reached, never thrown through Qt.
    const QList<std::pair<QAction*, void (TMainWin::*)()>> handlers{
        {SourceEditAction, &TMainWin::SourceEditActionExecute},
        {CardEditAction, &TMainWin::CardEditActionExecute},
        {SourceInsertAction, &TMainWin::SourceInsertActionExecute},
        {CardInsertAction, &TMainWin::CardInsertActionExecute},
        {SourceDeleteAction, &TMainWin::SourceDeleteActionExecute},
        {CardDeleteAction, &TMainWin::CardDeleteActionExecute},
        {SettingsOpenAction, &TMainWin::SettingsOpenActionExecute},
        {RefreshAction, &TMainWin::RefreshActionExecute},
        {CheckAction, &TMainWin::CheckActionExecute},
        {HistoryAction, &TMainWin::HistoryActionExecute}};
    for (const auto& [a, handler] : handlers)
        connect(a, &QAction::triggered, this,
                [this, handler = handler] { Guarded(this, [&] { (this->*handler)(); }); });
    connect(quit, &QAction::triggered, this, &QWidget::close);

    const QList<std::pair<QPushButton*, QAction*>> buttons{{SourceInsertButton, SourceInsertAction},
                                                           {SourceDeleteButton, SourceDeleteAction},
                                                           {SourceEditButton, SourceEditAction},
                                                           {CardInsertButton, CardInsertAction},
                                                           {CardDeleteButton, CardDeleteAction},
                                                           {CardEditButton, CardEditAction},
                                                           {SettingsOpenButton, SettingsOpenAction},
                                                           {CheckButton, CheckAction},
                                                           {HistoryButton, HistoryAction}};
    for (const auto& [b, a] : buttons)
        connect(b, &QPushButton::clicked, a, &QAction::trigger);

    connect(SourceGrid, &TDBGrid::RowActivated, SourceEditAction, &QAction::trigger);
    connect(CardGrid, &TDBGrid::RowActivated, CardEditAction, &QAction::trigger);
    // Insert and Delete on a grid act on its list.
    const QList<std::tuple<TDBGrid*, QKeySequence, QAction*>> keys{
        {SourceGrid, QKeySequence(Qt::Key_Insert), SourceInsertAction},
        {SourceGrid, QKeySequence(Qt::Key_Delete), SourceDeleteAction},
        {CardGrid, QKeySequence(Qt::Key_Insert), CardInsertAction},
        {CardGrid, QKeySequence(Qt::Key_Delete), CardDeleteAction}};
    for (const auto& [grid, key, a] : keys) {
        auto* shortcut = new QShortcut(key, grid);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, a, &QAction::trigger);
    }
}
