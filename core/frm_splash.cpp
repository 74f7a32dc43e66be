#include "core/frm_splash.h"
#include "core/app.h"
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel* label(QWidget* parent, const QString& text, const char* name, int pointSize, bool bold = false)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont f = l->font();
    f.setPointSize(pointSize);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

}  // namespace

frmSplash::frmSplash(App& app, QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(app.title);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    frame->setStyleSheet(QStringLiteral("QFrame { background: #f4f7fb; } QLabel { border: none; }"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    auto* v = new QVBoxLayout(frame);
    v->setContentsMargins(36, 28, 36, 24);
    v->addWidget(label(frame, QStringLiteral("Brenik Software"), "lblCompany", 10));
    v->addSpacing(12);
    v->addWidget(label(frame, app.title, "lblTitle", 30, true));
    v->addWidget(label(frame, QStringLiteral("Faktura VAT RR i korekta faktury VAT RR"), "lblOpis", 11));
    v->addSpacing(24);
    lblWersja = label(frame, QStringLiteral("Wersja ") + app.version, "lblWersja", 10);
    v->addWidget(lblWersja, 0, Qt::AlignRight);
    v->addWidget(label(frame, QStringLiteral("program należy do grupy Wirlan"), "lblGrupa", 9), 0, Qt::AlignRight);
    setFixedSize(440, 240);
    if (QScreen* s = QApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

void frmSplash::mousePressEvent(QMouseEvent*)
{
    close();
}

void splashUnload(App& app)
{
    if (app.splash) app.splash->close();
    app.splash = nullptr;
}

frmAbout::frmAbout(App& app, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("O programie"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    lblTitle = label(this, app.title, "lblTitle", 18, true);
    lblVersion =
        label(this,
              QStringLiteral("Wersja: ") + app.version +
                  (app.gStanowisko != 0 ? QStringLiteral(" [sieciowa]") : QStringLiteral(" [jednostanowiskowa]")),
              "lblVersion", 10);
    auto* group = label(this, QStringLiteral("program należy do grupy Wirlan"), "lblGrupa", 10);
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(group);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addWidget(cmdOk, 0, Qt::AlignRight);
    setMinimumWidth(360);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
}
