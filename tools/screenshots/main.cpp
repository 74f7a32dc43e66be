#include "core/app.h"
#include "core/polish_language.h"
#include "platform/app_error.h"
#include "platform/message_box.h"
#include "shots.h"
#include "support/private_home.h"
#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <cstdio>

// Pictures of the program's windows and PDFs of its printed documents, made on temporary
// databases, for a person to look at: screenshots <folder> [scene ...]; --list names the scenes.
// Settings and data files go to a temporary folder, never to the user's; message boxes are
// answered at once. Runs offscreen unless QT_QPA_PLATFORM says otherwise.

namespace {

struct Scene {
    const char* name;
    bool (*make)(Shots&);
};

const Scene kScenes[] = {
    {"layouts", entryLayouts},      {"side-list", sideList}, {"document-list", documentList},
    {"register", registerAndChart}, {"preview", preview},    {"pdfs", pdfs},
};

}  // namespace

void Shots::grab(QWidget* w, const QString& name)
{
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (w->grab().save(path))
        std::printf("%s\n", qPrintable(path));
    else
        fail(QStringLiteral("cannot write ") + path);
}

bool Shots::fail(const QString& why)
{
    std::fprintf(stderr, "screenshots: %s\n", qPrintable(why));
    ok = false;
    return false;
}

int main(int argc, char** argv)
{
    PrivateHome::offscreenUnlessSet();
    PrivateHome home;
    QApplication application(argc, argv);
    home.settle();
    const PolishLanguage polish;  // as the program shows its windows

    QStringList args = application.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: screenshots <folder> [scene ...]   (screenshots --list names the scenes)\n");
        return 2;
    }
    if (args.first() == QLatin1String("--list")) {
        for (const Scene& s : kScenes) std::printf("%s\n", s.name);
        return 0;
    }
    Shots shots;
    shots.dir = QDir(args.takeFirst());
    if (!shots.dir.mkpath(QStringLiteral("."))) {
        shots.fail(QStringLiteral("cannot make ") + shots.dir.path());
        return 1;
    }

    ui::Responder unattended;
    unattended.dialog = [](QDialog&) { return 0; };
    ui::setResponder(&unattended);
    App::setDefaultErrorReporter([&shots](App&, const QString& where, const QString&) {
        QString what = QStringLiteral("an error");
        try {
            throw;
        } catch (const AppError& e) {
            what = e.description();
        } catch (...) {
        }
        shots.fail(where + QStringLiteral(": ") + what);
    });

    for (const Scene& s : kScenes) {
        if (!args.isEmpty() && !args.contains(QLatin1String(s.name))) continue;
        if (!s.make(shots)) shots.fail(QStringLiteral("scene %1 not made").arg(s.name));
    }
    for (const QString& a : args)
        if (std::none_of(std::begin(kScenes), std::end(kScenes), [&](const Scene& s) { return a == s.name; }))
            shots.fail(QStringLiteral("no scene ") + a);
    return shots.ok ? 0 : 1;
}
