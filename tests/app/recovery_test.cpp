#include "app/recovery.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <iostream>

#include "app/main_window.h"
#include "app/recovery_session.h"
#include "model/schematic_file.h"
#include "support/scripted_prompts.h"

namespace {

using namespace std::chrono_literals;
using namespace wolterix::app;
using wolterix::model::SchematicText;

const QString kExample = QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx");

struct ScriptedWindow : wolterix::testing::ScriptedDocumentPrompt {
  TForm1 window;

  ScriptedWindow() { window.documents().setPrompt(*this); }
};

SchematicText textOf(TForm1& window) {
  SchematicText text;
  wolterix::model::writeSchematic(window.schematic(), text, false);
  return text;
}

SchematicText fileText(const QString& path) {
  SchematicText text;
  EXPECT_TRUE(wolterix::model::loadSchematicText(QFile::encodeName(path).toStdString(), text).ok());
  return text;
}

// One edit the way the user makes it: every element selected, turned left from the menu.
void turnLeft(TForm1& window) {
  window.editor().selectElements();
  window.idleUpdate();
  QAction* turn = window.command(QStringLiteral("MXobrl"));
  ASSERT_TRUE(turn && turn->isEnabled());
  turn->trigger();
  ASSERT_TRUE(window.editor().flags().modified);
}

TEST(RecoveryStore, WritesRemovesAndListsOnlyCopiesNobodyHolds) {
  QTemporaryDir dir;
  const SchematicText text = {"E:R1 1 2 3 4 10k", "L:1 1 5 1"};
  RecoveryStore looking(dir.path());
  auto running = std::make_unique<RecoveryStore>(dir.path());
  ASSERT_TRUE(running->write(text, QStringLiteral("/home/ala/mostek.wtx")));
  EXPECT_EQ(fileText(running->copyPath()), text);
  // Another window of this program still runs: its copy is none of ours.
  EXPECT_TRUE(looking.leftOver().empty());

  // A window that ends without removing its copy lets go of its lock, as a killed one does.
  const QString leftPath = running->copyPath();
  running.reset();
  const std::vector<RecoveredCopy> left = looking.leftOver();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].copyPath, leftPath);
  EXPECT_EQ(left[0].originalPath, QStringLiteral("/home/ala/mostek.wtx"));
  EXPECT_LE(left[0].saved.secsTo(QDateTime::currentDateTime()), 60);

  // A new window never takes over a left-over copy's name, nor lists its own copy.
  RecoveryStore next(dir.path());
  EXPECT_NE(next.copyPath(), leftPath);
  ASSERT_TRUE(next.write(text, {}));
  EXPECT_EQ(next.leftOver().size(), 1u);
  next.remove();
  EXPECT_FALSE(QFileInfo::exists(next.copyPath()));

  RecoveryStore::discard(left[0]);
  EXPECT_TRUE(looking.leftOver().empty());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST(RecoveryStore, TheQuestionNamesTheFileAndTheTimeInPolish) {
  RecoveredCopy copy;
  copy.originalPath = QStringLiteral("/home/ala/mostek.wtx");
  copy.saved = QDateTime(QDate(2026, 12, 10), QTime(14, 35));
  EXPECT_EQ(recoveryQuestion(copy),
            QStringLiteral("Wolterix nie został poprawnie zamknięty. Znaleziono niezapisany "
                           "schemat „mostek.wtx” (zapisany 10 gru 2026, 14:35). Co zrobić?"));
  copy.originalPath.clear();
  EXPECT_TRUE(recoveryQuestion(copy).contains(QStringLiteral("„Nowy schemat”")));

  const auto box = createRecoveryBox(nullptr, copy);
  EXPECT_EQ(box->windowTitle(), QStringLiteral("Odzyskiwanie schematu"));
  QStringList buttons;
  for (QAbstractButton* b : box->buttons()) buttons << b->text();
  buttons.sort();
  EXPECT_EQ(buttons, (QStringList{QStringLiteral("Odrzuć"), QStringLiteral("Odzyskaj"),
                                  QStringLiteral("Później")}));
}

TEST(Recovery, CopyFollowsEditsAndGoesWithASaveOrAClose) {
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/dzielnik.wtx");
  ASSERT_TRUE(QFile::copy(kExample, file));
  const SchematicText saved = fileText(file);
  ScriptedWindow w;
  w.window.setRecoveryIntervals(100ms, 20ms);
  ASSERT_TRUE(w.window.openFile(file));
  RecoveryStore& store = w.window.recovery().store();
  QTest::qWait(250);
  EXPECT_FALSE(store.hasCopy());  // nothing unsaved, nothing to keep

  turnLeft(w.window);
  ASSERT_TRUE(QTest::qWaitFor([&] { return store.hasCopy(); }, 5000));
  EXPECT_EQ(fileText(store.copyPath()), textOf(w.window));
  EXPECT_EQ(fileText(file), saved);  // the user's own file is left alone

  w.window.command(QStringLiteral("MXzapisz"))->trigger();
  EXPECT_FALSE(w.window.editor().flags().modified);
  EXPECT_FALSE(store.hasCopy());

  turnLeft(w.window);
  ASSERT_TRUE(QTest::qWaitFor([&] { return store.hasCopy(); }, 5000));
  w.answer = SaveAnswer::No;
  EXPECT_TRUE(w.window.close());
  EXPECT_FALSE(store.hasCopy());
  EXPECT_TRUE(RecoveryStore(store.directory()).leftOver().empty());
}

TEST(Recovery, ManyEditsBringTheCopySoonerButNotMoreOftenThanAllowed) {
  ScriptedWindow w;
  w.window.setRecoveryIntervals(1h, 1000ms);
  ASSERT_TRUE(w.window.openFile(kExample));
  RecoveryStore& store = w.window.recovery().store();
  for (int i = 1; i < RecoverySession::kEditsForEarlyCopy; ++i) turnLeft(w.window);
  QTest::qWait(50);
  EXPECT_FALSE(store.hasCopy());  // a few edits wait for the minute
  turnLeft(w.window);
  ASSERT_TRUE(QTest::qWaitFor([&] { return store.hasCopy(); }, 5000));
  const SchematicText first = fileText(store.copyPath());
  EXPECT_EQ(first, textOf(w.window));

  for (int i = 0; i < RecoverySession::kEditsForEarlyCopy + 1; ++i) turnLeft(w.window);
  QTest::qWait(50);
  EXPECT_EQ(fileText(store.copyPath()), first);  // too soon after the last copy
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return fileText(store.copyPath()) == textOf(w.window); }, 5000));
}

// Run only as the child of the test below: a window with an unsaved edit that waits to be
// killed once its recovery copy is written.
TEST(RecoveryChild, DISABLED_EditsAndWaits) {
  ScriptedWindow w;
  w.window.setRecoveryIntervals(200ms, 50ms);
  ASSERT_TRUE(w.window.openFile(kExample));
  turnLeft(w.window);
  RecoveryStore& store = w.window.recovery().store();
  ASSERT_TRUE(QTest::qWaitFor([&] { return store.hasCopy(); }, 10000));
  std::cout << "recovery copy written: " << store.copyPath().toStdString() << std::endl;
  QTest::qWait(60000);
}

TEST(Recovery, AKilledWindowLeavesItsCopyAndTheNextStartOffersIt) {
  // The child uses this process's settings folder.
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("WOLTERIX_TEST_SETTINGS"),
                     qEnvironmentVariable("XDG_CONFIG_HOME"));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_also_run_disabled_tests"),
               QStringLiteral("--gtest_filter=RecoveryChild.*")});
  ASSERT_TRUE(child.waitForStarted(10000));
  QByteArray output;
  const bool written = QTest::qWaitFor(
      [&] {
        output += child.readAllStandardOutput();
        return output.contains("recovery copy written: ");
      },
      30000);
  child.kill();  // SIGKILL: nothing of the child runs any more
  child.waitForFinished(10000);
  ASSERT_TRUE(written) << output.toStdString() << child.readAllStandardError().toStdString();

  // What the child's schematic was: the same edit made here.
  SchematicText expected;
  {
    ScriptedWindow same;
    ASSERT_TRUE(same.window.openFile(kExample));
    turnLeft(same.window);
    expected = textOf(same.window);
  }

  const std::vector<RecoveredCopy> left = RecoveryStore().leftOver();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(fileText(left[0].copyPath), expected);
  EXPECT_EQ(left[0].originalPath, kExample);

  ScriptedWindow next;
  int asked = 0;
  next.window.recovery().ask = [&](const RecoveredCopy& copy) {
    ++asked;
    // WOLTERIX_RECOVERY_SHOT=file.png keeps a picture of the question.
    if (const QString shot = qEnvironmentVariable("WOLTERIX_RECOVERY_SHOT"); !shot.isEmpty()) {
      const auto box = createRecoveryBox(&next.window, copy);
      box->show();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(box.get()));
      EXPECT_TRUE(box->grab().save(shot));
    }
    return RecoveryAnswer::Recover;
  };
  next.window.offerRecovery();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(textOf(next.window), expected);
  EXPECT_TRUE(next.window.editor().flags().modified);
  EXPECT_EQ(next.window.currentFile(), kExample);  // "Zapisz" writes to the original file
  EXPECT_EQ(next.window.windowTitle(), QStringLiteral("Wolterix - dzielnik"));
  // The window's own copy took over; the left-over one is gone.
  EXPECT_TRUE(next.window.recovery().store().hasCopy());
  EXPECT_FALSE(QFileInfo::exists(left[0].copyPath));
  EXPECT_TRUE(RecoveryStore().leftOver().empty());

  // "Odrzuć" and "Później" on a copy of an untitled schematic.
  {
    RecoveryStore dying;
    ASSERT_TRUE(dying.write(expected, {}));
  }
  next.window.recovery().ask = [](const RecoveredCopy&) { return RecoveryAnswer::Later; };
  next.window.offerRecovery();
  ASSERT_EQ(RecoveryStore().leftOver().size(), 1u);
  next.window.recovery().ask = [](const RecoveredCopy&) { return RecoveryAnswer::Discard; };
  next.window.offerRecovery();
  EXPECT_TRUE(RecoveryStore().leftOver().empty());
  EXPECT_EQ(next.window.currentFile(), kExample);  // the recovered schematic stayed
}

}  // namespace
