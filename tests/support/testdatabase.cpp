#include "testdatabase.h"

#include "geometry.h"

#include "clientdataset.h"
#include "errors.h"
#include "messagebox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStyleFactory>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

QString Caption(const QString& text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i; // "&x" shows x underlined, "&&" a plain ampersand
        plain += text[i];
    }
    return plain;
}

void InitTestEnvironment()
{
    // Every window opens at its designed size unless a test asks for remembered ones.
    TGeometryKeeper::Enabled = false;
    QLocale::setDefault(QLocale::c());
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        app->setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }
    // A box no test queued an answer for fails the test (an exception box among them)
    // and is answered with its default, so the run goes on instead of blocking.
    MessageBox::SetUnansweredHandler([](const MessageBox::Shown& box) {
        QTest::qFail(
            qPrintable(QStringLiteral("a message box nobody expected: \"%1\"").arg(box.text)),
            __FILE__, __LINE__);
        return box.defaultButton;
    });
}

QString TestDatabase::SocketPath()
{
    return qEnvironmentVariable("MYSQL_UNIX_PORT");
}
QString TestDatabase::User()
{
    return qEnvironmentVariable("KORVANE_DB_USER", QStringLiteral("korvane"));
}
QString TestDatabase::Password()
{
    return qEnvironmentVariable("KORVANE_DB_PASSWORD", QStringLiteral("korvane-test"));
}

TestDatabase::TestDatabase(const QString& name, bool withSample)
    : m_name(name), m_connection(QStringLiteral("test-admin-") + name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_connection);
    db.setHostName(QStringLiteral("localhost"));
    db.setUserName(User());
    db.setPassword(Password());
    db.setConnectOptions(QStringLiteral("CLIENT_FOUND_ROWS"));
    if (!db.open())
        qFatal("cannot reach the test server at %s: %s", qPrintable(SocketPath()),
               qPrintable(db.lastError().text()));
    Exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    Exec(QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4").arg(m_name));
    Exec(QStringLiteral("USE `%1`").arg(m_name));
    Reset(withSample);

    m_configPath = m_dir.filePath(QStringLiteral("mysql.txt"));
    QFile f(m_configPath);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(m_configPath));
    f.write(QStringLiteral("DBHostName=localhost\nDBName=%1\nDBUserName=%2\nDBPassword=%3\n")
                .arg(m_name, User(), Password())
                .toUtf8());
}

TestDatabase::~TestDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void TestDatabase::RestartServer()
{
    QProcess script;
    script.start(qEnvironmentVariable("KORVANE_SOURCE_DIR") + QStringLiteral("/scripts/testdb"),
                 {QStringLiteral("restart"), qEnvironmentVariable("KORVANE_TESTDB_DIR")});
    if (!script.waitForFinished(60000) || script.exitCode() != 0)
        qFatal("the test server did not restart: %s", script.readAllStandardError().constData());
}

void TestDatabase::Reset(bool withSample)
{
    const QString dir = qEnvironmentVariable("KORVANE_SOURCE_DIR");
    runScript(dir + QStringLiteral("/db/schema.sql"));
    if (withSample)
        runScript(dir + QStringLiteral("/db/sample.sql"));
}

void TestDatabase::runScript(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QString text;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            text += line + QLatin1Char('\n');
    for (const QString& statement : text.split(QLatin1Char(';')))
        if (!statement.trimmed().isEmpty())
            Exec(statement);
}

std::unique_ptr<TSQLModule> TestDatabase::CreateModule() const
{
    return std::make_unique<TSQLModule>(&TSQLClientDataSet::CreateSearchDataSet,
                                        QStringList{m_configPath});
}

std::unique_ptr<QSqlQuery> TestDatabase::run(const QString& sql)
{
    auto q = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connection));
    if (q->exec(sql))
        return q;
    // The fault tests restart the server: this client reconnects as well.
    const int code = q->lastError().nativeErrorCode().toInt();
    if (code == 2006 || code == 2013) {
        q.reset();
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
        if (db.open()) {
            QSqlQuery use(db);
            use.exec(QStringLiteral("USE `%1`").arg(m_name));
            q = std::make_unique<QSqlQuery>(db);
            if (q->exec(sql))
                return q;
        }
    }
    qFatal("test statement failed: %s\n%s", qPrintable(q ? q->lastError().text() : QString()),
           qPrintable(sql));
}

void TestDatabase::Exec(const QString& sql)
{
    run(sql);
}

QVariant TestDatabase::Scalar(const QString& sql)
{
    auto q = run(sql);
    if (!q->next())
        qFatal("test query returned no row: %s", qPrintable(sql));
    return q->value(0);
}

int TestDatabase::Count(const QString& table, const QString& where)
{
    QString sql = QStringLiteral("SELECT COUNT(*) FROM `%1`").arg(table);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return Scalar(sql).toInt();
}

QStringList TestDatabase::Rows(const QString& sql)
{
    auto q = run(sql);
    QStringList rows;
    while (q->next()) {
        QStringList values;
        for (int i = 0; i < q->record().count(); ++i)
            values << (q->value(i).isNull() ? QStringLiteral("NULL") : q->value(i).toString());
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

StatementRecorder::StatementRecorder() : m_entries(std::make_shared<QList<Entry>>())
{
    auto entries = m_entries;
    TSQLConnection::SetStatementListener([entries](const QString& sql, const QVariantList& binds) {
        entries->append({sql, binds});
    });
}

StatementRecorder::~StatementRecorder()
{
    TSQLConnection::SetStatementListener({});
}

QStringList StatementRecorder::Texts() const
{
    QStringList texts;
    for (const Entry& e : *m_entries)
        texts << e.text;
    return texts;
}

QStringList StatementRecorder::Changes() const
{
    QStringList texts;
    for (const Entry& e : *m_entries) {
        const QString t = e.text;
        if (t.startsWith(QStringLiteral("SET SESSION")) ||
            t == QStringLiteral("SELECT @@max_allowed_packet") ||
            t == QStringLiteral("START TRANSACTION") || t == QStringLiteral("COMMIT") ||
            t == QStringLiteral("ROLLBACK"))
            continue;
        texts << t;
    }
    return texts;
}

QStringList StatementRecorder::Writes() const
{
    QStringList texts = Changes();
    texts.removeIf([](const QString& t) {
        return t.trimmed().startsWith(QStringLiteral("select"), Qt::CaseInsensitive);
    });
    return texts;
}

QList<QVariantList> StatementRecorder::Binds() const
{
    QList<QVariantList> binds;
    for (const Entry& e : *m_entries)
        binds << e.binds;
    return binds;
}

void StatementRecorder::Clear()
{
    m_entries->clear();
}

StdoutCapture::StdoutCapture()
{
    m_path = m_dir.filePath(QStringLiteral("stdout.txt"));
    std::fflush(stdout);
    m_saved = dup(STDOUT_FILENO);
    const int fd = open(m_path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, STDOUT_FILENO);
    close(fd);
}

StdoutCapture::~StdoutCapture()
{
    Lines();
}

QStringList StdoutCapture::Lines()
{
    if (m_saved >= 0) {
        std::fflush(stdout);
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
        m_saved = -1;
    }
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void ServerFixture::StartServer(const QString& name, bool withSample)
{
    InitTestEnvironment();
    db = std::make_unique<TestDatabase>(name, withSample);
    module = db->CreateModule();
}

void ServerFixture::FreshTables(bool withSample)
{
    db->Reset(withSample);
    MessageBox::ClearShown();
}

void TestDatabase::AddSatelliteSource()
{
    Exec(QStringLiteral("INSERT INTO videosource VALUES (9, 'Astra', 'tv_grab_uk', 'unused')"));
    Exec(QStringLiteral("INSERT INTO capturecard (cardid, videodevice, cardtype, hostname, "
                        "dvb_type, use_ts) VALUES (5, '1', 'DVB', NULL, 'S', 1)"));
    Exec(QStringLiteral("INSERT INTO cardinput (cardinputid, cardid, sourceid, inputname) "
                        "VALUES (7, 5, 9, 'Sat')"));
}

TSQLClientDataSet* OpenDataSet(TSQLConnection& connection, const QString& table,
                               const QString& filter, QObject* parent)
{
    auto* set = new TSQLClientDataSet(connection, parent);
    set->SetCommandText(table);
    if (!filter.isEmpty()) {
        set->SetFiltered(true);
        set->SetFilter(filter);
    }
    set->SetActive(true);
    return set;
}

void PostChange(TSQLClientDataSet& set, std::initializer_list<std::pair<QString, QVariant>> values)
{
    set.Edit();
    for (const auto& [column, value] : values)
        set.SetFieldValue(column, value);
    set.Post();
}

void PostNewRow(TSQLClientDataSet& set, std::initializer_list<std::pair<QString, QVariant>> values)
{
    set.Append();
    for (const auto& [column, value] : values)
        set.SetFieldValue(column, value);
    set.Post();
}

ProgramRun RunProgram(const QString& binary, const TestDatabase& db, const QString& home,
                      const QStringList& arguments, const std::function<void()>& inChild)
{
    QDir(home).mkpath(QStringLiteral(".korvane"));
    const QString settings = home + QStringLiteral("/.korvane/mysql.txt");
    QFile::remove(settings);
    QFile::copy(db.ConfigPath(), settings);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    p.setProcessEnvironment(env);
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.start(binary, arguments);
    ProgramRun run;
    if (!p.waitForFinished(120000))
        return run;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return run;
}
