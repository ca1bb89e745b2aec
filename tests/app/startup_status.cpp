// The program's exit status when start-up breaks off: an exception escaping start-up
// is shown in the exception box, and the program ends with status 1, not 0. Runs the
// real start-up (its own application object), so it is a program of its own.
#include "messagebox.h"
#include "startup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>

namespace {

int failures = 0;
int passes = 0;

void check(bool ok, const char* what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    ok ? ++passes : ++failures;
}

int runWith(const std::function<void()>& hook, char* program)
{
    MessageBox::ClearShown();
    int argc = 1;
    char* argv[] = {program, nullptr};
    return RunKorvaneSetup(argc, argv, hook);
}

} // namespace

int main(int, char** argv)
{
    // Settings that name a host, so start-up gets as far as the main window.
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral(".korvane"));
    QFile settings(home.filePath(QStringLiteral(".korvane/mysql.txt")));
    if (!settings.open(QIODevice::WriteOnly))
        return 2;
    settings.write("DBHostName=localhost\nDBName=nothing\n");
    settings.close();
    qputenv("HOME", home.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Boxes are recorded and answered with their default instead of waiting for a user.
    MessageBox::SetUnansweredHandler(
        [](const MessageBox::Shown& box) { return box.defaultButton; });

    int status = runWith([] { throw std::runtime_error("injected start-up failure"); }, argv[0]);
    check(status == 1, "an exception escaping start-up ends with status 1");
    const auto& boxes = MessageBox::ShownBoxes();
    check(boxes.size() == 1 && boxes[0].kind == MessageBox::Kind::Exception &&
              boxes[0].text == QStringLiteral("injected start-up failure"),
          "it is shown in the exception box first");

    status = runWith([] { throw 42; }, argv[0]);
    check(status == 1, "an exception of no known kind ends with status 1 too");
    check(MessageBox::ShownBoxes().size() == 1 && MessageBox::ShownBoxes()[0].text.isEmpty(),
          "it is shown with an empty message");

    // A DBPort that is no port stops the start as a missing host name does: an error box
    // naming the file, status 1, no main window.
    if (!settings.open(QIODevice::WriteOnly))
        return 2;
    settings.write("DBHostName=localhost\nDBPort=port\n");
    settings.close();
    bool reached = false;
    status = runWith([&reached] { reached = true; }, argv[0]);
    check(status == 1 && !reached, "a bad DBPort stops the start with status 1");
    check(MessageBox::ShownBoxes().size() == 1 &&
              MessageBox::ShownBoxes()[0].kind == MessageBox::Kind::Error &&
              MessageBox::ShownBoxes()[0].text.contains(settings.fileName()),
          "it says so in an error box naming the file");

    std::printf("%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
