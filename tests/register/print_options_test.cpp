#include "register/print_options.h"
#include "register/preview_panel.h"
#include "report_fixture.h"
#include <QSignalSpy>
#include <QTreeWidget>

// The print options list beside the preview and the two stores of each option.

namespace {

struct Options : ::testing::Test {
    App app;
    Answers answers;
    PreviewPanel panel{app};
    QTreeWidget* lst = panel.lstPardruk;

    void SetUp() override
    {
        useTestSettings(app);
        RegKeyCreate(app.gRegProgramKey);
    }
    QString stored(const char* name) { return RegRead(app.gRegProgramKey, name, "?"); }
    QString cached(const char* name) { return RegParRead(app, name, "?"); }
    QStringList checked()
    {
        QStringList out;
        for (int i = 0; i < lst->topLevelItemCount(); ++i)
            if (lst->topLevelItem(i)->checkState(0) == Qt::Checked) out << lst->topLevelItem(i)->text(0);
        return out;
    }
    // A check change as the user makes it.
    void click(int item, bool on) { lst->topLevelItem(item)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked); }
};

}  // namespace

TEST_F(Options, TheListIsFilledOnceFromTheCacheWithTheDuplicateUnchecked)
{
    PanelDrukuPokaz(app, "Inny panel", lst);
    EXPECT_EQ(lst->topLevelItemCount(), 0);
    PanelDrukuPokaz(app, "Podglad dokumentu", lst);
    ASSERT_EQ(lst->topLevelItemCount(), 6);
    EXPECT_EQ(lst->headerItem()->text(0), "Nazwa parametru");
    EXPECT_EQ(lst->property("Tag").toString(), "Parametry wydruku");
    EXPECT_TRUE(checked().isEmpty());
    for (const char* name : {"DrukOryginal", "DrukOryKop", "DrukRoznice", "DrukOswiadczenie", "DrukWystaw"})
        EXPECT_EQ(stored(name), "0") << name;

    lst->clear();
    for (const char* name : {"DrukOryginal", "DrukOryKop", "DrukDuplikat", "DrukWystaw"}) RegParSave(app, name, "1");
    PanelDrukuPokaz(app, "Podglad dokumentu", lst);
    EXPECT_EQ(checked(), QStringList({QString::fromUtf8("Oryginał, Kopia"), QString::fromUtf8("Oryginał + Kopia"),
                                      QString::fromUtf8("Ukryj wystawiającego")}));
    // Later openings keep what the list shows; the program's own marks stored nothing.
    RegParSave(app, "DrukWystaw", "0");
    PanelDrukuPokaz(app, "Podglad dokumentu", lst);
    EXPECT_EQ(checked().size(), 3);
    EXPECT_EQ(stored("DrukDuplikat"), "?");
}

TEST_F(Options, TheTwoMarkingsExcludeEachOtherInBothStores)
{
    PanelDrukuPokaz(app, "Podglad dokumentu", lst);
    QSignalSpy redraw(&panel, &PreviewPanel::opcjaZmieniona);
    struct Step {
        int item;
        bool on;
        const char* oryginal;
        const char* oryKop;
        QStringList checked;
    } steps[] = {
        {0, true, "1", "0", {QString::fromUtf8("Oryginał, Kopia")}},
        {1, true, "0", "1", {QString::fromUtf8("Oryginał + Kopia")}},
        {0, true, "1", "0", {QString::fromUtf8("Oryginał, Kopia")}},
        {0, false, "0", "0", {}},
        {1, true, "0", "1", {QString::fromUtf8("Oryginał + Kopia")}},
        {1, false, "0", "0", {}},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(++n);
        click(s.item, s.on);
        EXPECT_EQ(checked(), s.checked);
        EXPECT_EQ(stored("DrukOryginal"), s.oryginal);
        EXPECT_EQ(cached("DrukOryginal"), s.oryginal);
        EXPECT_EQ(stored("DrukOryKop"), s.oryKop);
        EXPECT_EQ(cached("DrukOryKop"), s.oryKop);
    }
    EXPECT_EQ(redraw.count(), 6);
    click(5, true);
    EXPECT_EQ(stored("DrukWystaw"), "1");
    EXPECT_EQ(cached("DrukWystaw"), "1");
}

TEST_F(Options, OpeningThePreviewSwitchesTheDuplicateOffEverywhere)
{
    PanelDrukuPokaz(app, "Podglad dokumentu", lst);
    click(2, true);
    EXPECT_EQ(stored("DrukDuplikat"), "1");
    QSignalSpy redraw(&panel, &PreviewPanel::opcjaZmieniona);
    turnOffDuplicate(app, lst);
    EXPECT_EQ(stored("DrukDuplikat"), "0");
    EXPECT_EQ(cached("DrukDuplikat"), "0");
    EXPECT_TRUE(checked().isEmpty());
    EXPECT_EQ(redraw.count(), 0);
}
