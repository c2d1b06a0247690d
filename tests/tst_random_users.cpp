// Random users on the real window: thousands of random actions (boxes toggled
// by mouse and by Space, items picked in the popup, with the keys of the
// closed box and with the wheel, which picks only in the list that has the
// focus, any text typed into the lists' fields and
// ended with Enter, Tab or Escape). After every action all 32 cells, both
// hexadecimal words, all 112 segment colours, the boxes and the lists must be
// what an independent model of the registers and segments says, and typing
// must have changed nothing but the text a list shows.
//
// ISD5116_RANDOM_SEED and ISD5116_RANDOM_ACTIONS choose the run; both are
// printed at the start, and a failure names the action and the ones before
// it, so that any run can be played again.
#include "registeroracle.h"
#include "windowtest.h"

#include "window/controltable.h"
#include "window/segmenttable.h"

#include <QElapsedTimer>
#include <algorithm>
#include <deque>
#include <map>
#include <random>

using namespace isd;
using namespace testing;

namespace {

constexpr std::uint32_t kDefaultSeed = 5116;
constexpr int kDefaultActions = 5000;   // about 10 s on two cores, offscreen
constexpr int kHistoryLength = 12;
constexpr int kMaxMismatchesShown = 16;

// Reads a whole number from 0 to max from the environment into value,
// which keeps its default when the variable is unset or empty. Says what is
// wrong with any other text.
QString readNumber(const char *name, qulonglong max, qulonglong &value)
{
    const QString text = qEnvironmentVariable(name).trimmed();
    bool ok = true;
    if (!text.isEmpty())
        value = text.toULongLong(&ok, 0);
    if (ok && value <= max)
        return {};
    return QStringLiteral("%1=\"%2\" is not a whole number from 0 to %3\n").arg(QLatin1String(name), text).arg(max);
}

// Text for the log: printable, short, with the length of what was cut.
QString shortened(const QString &text, int keep = 40)
{
    QString shown = text.left(keep);
    if (shown.size() < text.size())
        shown += QStringLiteral("…(%1 UTF-16 units)").arg(text.size());
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

// Ranges of code points a user may type; all are assigned and printable (or,
// like the direction marks, formatting characters that a field accepts).
struct CodeRange {
    char32_t first, last;
};
const CodeRange kTypingRanges[] = {
    {0x0020, 0x007E},     // ASCII
    {0x00A1, 0x00FF},     // Latin-1
    {0x0410, 0x044F},     // Cyrillic
    {0x0401, 0x0401},     // Ё
    {0x0451, 0x0451},     // ё
    {0x0300, 0x036F},     // combining marks
    {0x05D0, 0x05EA},     // Hebrew
    {0x0627, 0x063A},     // Arabic
    {0x200E, 0x200F},     // left-to-right and right-to-left marks
    {0x4E00, 0x4FFF},     // CJK
    {0x1F600, 0x1F64F},   // emoji, beyond 16 bits
    {0x1D400, 0x1D433},   // mathematical letters, beyond 16 bits
};

// Typed texts that are none of the items but look like them or are odd.
const QStringList &oddTexts()
{
    static const QStringList texts{
        QStringLiteral("Выкл"), QStringLiteral("выкл"), QStringLiteral("ВЫКЛ"),
        QStringLiteral("0-ДБ"), QStringLiteral("8 кГц"), QStringLiteral("12кГц"),
        QStringLiteral("Ёлка ёж"), QStringLiteral("И\u0306"), QStringLiteral("е\u0301"),
        QStringLiteral("a\u0301\u0302\u0303\u0304\u0305"), QStringLiteral("\u0301"),
        QStringLiteral("😀"), QStringLiteral("👍🏽"), QStringLiteral("👨\u200D👩\u200D👧\u200D👦"),
        QStringLiteral("🇷🇺🇺🇦"), QStringLiteral("𝔘𝔫𝔦𝔠𝔬𝔡𝔢"),
        QStringLiteral("שלום"), QStringLiteral("مرحبا بالعالم"),
        QStringLiteral("\u202Eevil\u202C"), QStringLiteral("abc\u200Fdef"), QStringLiteral("\u200E"),
        QStringLiteral("漢字かな"), QStringLiteral("ｆｕｌｌ"), QStringLiteral("\u00A0"),
        QStringLiteral("\uFEFF"), QStringLiteral("   "),
        QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("-1"), QStringLiteral("3"),
        QStringLiteral("99999999999999999999"), QStringLiteral("0x1F"),
        QStringLiteral("1.0 "), QStringLiteral(" 1.0"), QStringLiteral("SUM1 &"),
        QStringLiteral("&&"), QStringLiteral("<b>1</b>"), QStringLiteral("%1 %2"),
        QStringLiteral("\\n"), QStringLiteral("Label3"), QStringLiteral("FFFF"),
    };
    return texts;
}

// How a value reads in a failure message.
QString shown(const QString &text) { return shortened(text); }
QString shown(int number) { return QString::number(number); }
QString shown(bool checked) { return checked ? QStringLiteral("checked") : QStringLiteral("unchecked"); }
QString shown(const QStringList &items) { return items.join(QLatin1Char('|')); }

QString shown(SegmentColour c)
{
    switch (c) {
    case SegmentColour::Default: return QStringLiteral("default");
    case SegmentColour::Idle: return QStringLiteral("idle");
    case SegmentColour::Highlight: return QStringLiteral("highlight");
    }
    return QStringLiteral("?");
}

// One random user at the window, with the model that follows the same
// actions.
class RandomUser
{
public:
    RandomUser(ConfigWindow &window, std::uint32_t seed)
        : m_window(window)
        , m_rng(seed)
    {
        for (Register reg : kRegisters) {
            for (int bit = kBitsPerRegister - 1; bit >= 0; --bit) {
                const ControlSpec &c = cellControl(reg, bit);
                const QString what = QStringLiteral("%1 (%2 D%3)").arg(c.name, registerName(reg)).arg(bit);
                m_cells.push_back({reg, bit, what, window.findChild<QLabel *>(c.name)});
            }
            m_words[size_t(reg)] = window.findChild<QLabel *>(wordControl(reg).name);
        }
        for (const QString &name : m_oracle.boxNames()) {
            QCheckBox *b = box(window, name);
            m_boxes.insert(name, b);
            QObject::connect(b, &QCheckBox::toggled, &m_listening, [this, name] { ++m_toggles[name]; });
        }
        for (const QString &name : m_oracle.listNames()) {
            PickList *l = list(window, name);
            m_lists.insert(name, l);
            QObject::connect(l, &PickList::picked, &m_listening, [this, name] { ++m_picks[name]; });
            m_allItems += m_oracle.items(name);
        }
    }

    // Plays one random action; returns what went wrong while doing it, if
    // anything (the window not reacting as a user's window must).
    QString act(int number)
    {
        // The actions, and how often each comes, out of the sum. Opening the
        // popup is the slow part, so it takes a small share of the picks.
        static const struct {
            const char *name;
            unsigned weight;
            QString (RandomUser::*play)(int number);
        } actions[] = {
            {"box by mouse", 14, &RandomUser::toggleBoxByMouse},
            {"box by Space", 9, &RandomUser::toggleBoxBySpace},
            {"popup pick by mouse", 5, &RandomUser::pickInPopupByMouse},
            {"popup pick by keys", 3, &RandomUser::pickInPopupByKeys},
            {"popup dismissed", 2, &RandomUser::dismissPopup},
            {"key on the closed list", 24, &RandomUser::pressKeyOnClosedList},
            {"wheel", 18, &RandomUser::turnWheel},
            {"typing", 25, &RandomUser::type},
        };
        m_expectedPicks.clear();
        m_expectedToggles.clear();
        m_picks.clear();
        m_toggles.clear();

        unsigned total = 0;
        for (const auto &a : actions)
            total += a.weight;
        unsigned r = below(total);
        for (const auto &a : actions) {
            if (r < a.weight) {
                ++m_counts[QLatin1String(a.name)];
                return (this->*a.play)(number);
            }
            r -= a.weight;
        }
        return QStringLiteral("no action drawn");
    }

    // Everything the window shows against the model, after Timer1 has ticked.
    // Returns one line per difference, none when all agree.
    QStringList differences()
    {
        QStringList diff;
        const auto expect = [&diff](const QString &what, const auto &seen, const auto &expected) {
            if (seen != expected)
                diff << QStringLiteral("%1: %2, expected %3").arg(what, shown(seen), shown(expected));
        };
        if (!settle(m_window))
            diff << QStringLiteral("Timer1 never came to rest");
        for (const Cell &cell : m_cells)
            expect(cell.what, cell.label->text(), m_oracle.cell(cell.reg, cell.bit));
        for (Register reg : kRegisters) {
            const QLabel *word = m_words[size_t(reg)];
            expect(word->objectName() + QStringLiteral(" (%1)").arg(registerName(reg)), word->text(), m_oracle.word(reg));
        }
        for (int line = 1; line <= kSegmentCount; ++line)
            expect(segmentName(line), m_window.diagram()->segmentColour(line), m_oracle.colour(line));
        for (const QString &name : m_oracle.boxNames()) {
            expect(name, m_boxes[name]->isChecked(), m_oracle.isChecked(name));
            expect(name + QStringLiteral(" toggles"), m_toggles.value(name), m_expectedToggles.value(name));
        }
        for (const QString &name : m_oracle.listNames()) {
            PickList *l = m_lists[name];
            expect(name + QStringLiteral(" index"), l->currentIndex(), m_oracle.pickedIndex(name));
            expect(name + QStringLiteral(" items"), itemTexts(l), m_oracle.items(name));
            expect(name + QStringLiteral(" text"), l->currentText(), m_oracle.shownText(name));
            expect(name + QStringLiteral(" picks notified"), m_picks.value(name), m_expectedPicks.value(name));
        }
        return diff;
    }

    QStringList history() const { return QStringList(m_history.begin(), m_history.end()); }

    QString statistics() const
    {
        QStringList parts;
        for (const auto &[name, count] : m_counts)
            parts << QStringLiteral("%1: %2").arg(name).arg(count);
        parts << QStringLiteral("window reactivated after a popup: %1").arg(m_reactivations);
        return parts.join(QStringLiteral(", "));
    }

private:
    // Numbers from the engine alone, the same with every standard library
    // (the standard distributions are not).
    unsigned below(unsigned n) { return unsigned(m_rng() % n); }
    bool chance(unsigned percent) { return below(100) < percent; }
    template<typename T>
    const T &oneOf(const QList<T> &list) { return list.at(qsizetype(below(unsigned(list.size())))); }

    void log(int number, const QString &what)
    {
        m_history.push_back(QStringLiteral("#%1 %2").arg(number).arg(what));
        if (m_history.size() > kHistoryLength)
            m_history.pop_front();
    }

    // A popup opened and closed within one pass of the event loop may leave
    // its own, hidden window active on a test platform once the queued
    // activations arrive; a desktop gives the activation back to the window
    // the popup came from, and so does this.
    QString reactivate()
    {
        QCoreApplication::processEvents();
        if (m_window.isActiveWindow())
            return {};
        ++m_reactivations;
        m_window.activateWindow();
        if (!waitFor([this] { return m_window.isActiveWindow(); }))
            return QStringLiteral("the window did not become active again after the popup closed");
        return {};
    }

    // The model follows a pick, which the window must notify once.
    void expectPick(const QString &name, int index)
    {
        m_oracle.pick(name, index);
        m_expectedPicks[name] = 1;
    }

    static QWidget *focus(QWidget *control)
    {
        control->setFocus(Qt::OtherFocusReason);
        return focusIn(control);
    }

    QString focusFailure(const QString &name) const
    {
        QWidget *f = QApplication::focusWidget();
        return QStringLiteral("%1 did not take the focus (it is on %2)")
            .arg(name, f ? f->metaObject()->className() + QStringLiteral(" ") + f->objectName()
                         : QStringLiteral("nothing"));
    }

    QString toggleBoxByMouse(int number) { return toggleBox(number, false); }
    QString toggleBoxBySpace(int number) { return toggleBox(number, true); }

    QString toggleBox(int number, bool bySpace)
    {
        const QString name = oneOf(m_oracle.boxNames());
        QCheckBox *b = m_boxes[name];
        const bool after = !m_oracle.isChecked(name);
        log(number, QStringLiteral("%1: %2 -> %3")
                        .arg(name, bySpace ? QStringLiteral("Space") : QStringLiteral("mouse click"),
                             shown(after)));
        if (bySpace) {
            QWidget *f = focus(b);
            if (!f)
                return focusFailure(name);
            QTest::keyClick(f, Qt::Key_Space);
        } else {
            clickBox(b);
        }
        m_oracle.toggle(name);
        m_expectedToggles[name] = 1;
        return {};
    }

    QString pickInPopupByMouse(int number) { return pickInPopup(number, false); }
    QString pickInPopupByKeys(int number) { return pickInPopup(number, true); }

    QString pickInPopup(int number, bool byKeys)
    {
        const QString name = oneOf(m_oracle.listNames());
        PickList *l = m_lists[name];
        const int index = int(below(unsigned(m_oracle.items(name).size())));
        const bool altDown = byKeys && chance(50);
        const QString how = byKeys
            ? QStringLiteral("popup by %1, Home, Down x%2, Return").arg(altDown ? "Alt+Down" : "F4").arg(index)
            : QStringLiteral("popup, click item %1 %2").arg(index).arg(shortened(m_oracle.items(name).at(index)));
        log(number, QStringLiteral("%1: %2 (was %3)").arg(name, how).arg(m_oracle.pickedIndex(name)));
        if (byKeys && !focus(l))
            return focusFailure(name);
        if (!(byKeys ? testing::pickInPopupByKeys(l, index, altDown) : testing::pickInPopup(l, index)))
            return QStringLiteral("the popup of %1 did not open or close").arg(name);
        expectPick(name, index);
        return reactivate();
    }

    QString dismissPopup(int number)
    {
        const QString name = oneOf(m_oracle.listNames());
        PickList *l = m_lists[name];
        log(number, QStringLiteral("%1: popup opened, Escape").arg(name));
        l->showPopup();
        if (!popupShown(l))
            return QStringLiteral("the popup of %1 did not open").arg(name);
        QTest::keyClick(l->view(), Qt::Key_Escape);
        if (!popupHidden(l))
            return QStringLiteral("the popup of %1 did not close").arg(name);
        return reactivate();
    }

    QString pressKeyOnClosedList(int number)
    {
        const QString name = oneOf(m_oracle.listNames());
        const struct {
            Qt::Key key;
            const char *name;
            int step;
        } keys[] = {{Qt::Key_Up, "Up", -1},
                    {Qt::Key_Down, "Down", +1},
                    {Qt::Key_PageUp, "PageUp", -1},
                    {Qt::Key_PageDown, "PageDown", +1}};
        const auto &key = keys[below(4)];
        const int from = m_oracle.pickedIndex(name);
        const int to = from + key.step;
        const bool moves = to >= 0 && to < m_oracle.items(name).size();
        log(number, QStringLiteral("%1: %2 on the closed list (%3 -> %4)")
                        .arg(name, QLatin1String(key.name))
                        .arg(from)
                        .arg(moves ? to : from));
        QWidget *f = focus(m_lists[name]);
        if (!f)
            return focusFailure(name);
        QTest::keyClick(f, key.key);
        if (moves)
            expectPick(name, to);
        return {};
    }

    QString turnWheel(int number)
    {
        const QString name = oneOf(m_oracle.listNames());
        PickList *l = m_lists[name];
        const bool down = chance(50);
        const bool focused = chance(50);
        if (focused && !focus(l))
            return focusFailure(name);
        if (!focused)
            m_window.diagram()->setFocus(Qt::OtherFocusReason);
        const int from = m_oracle.pickedIndex(name);
        const int to = from + (down ? 1 : -1);
        const bool moves = focused && to >= 0 && to < m_oracle.items(name).size();
        log(number, QStringLiteral("%1: wheel %2 %3 (%4 -> %5)")
                        .arg(name, focused ? QStringLiteral("with the focus") : QStringLiteral("without the focus"),
                             down ? QStringLiteral("down") : QStringLiteral("up"))
                        .arg(from)
                        .arg(moves ? to : from));
        // The wheel turns over the list's field, which passes it on to the
        // list, as it does with a wheel event that comes from the system.
        testing::turnWheel(l->lineEdit(), down ? -120 : 120);
        if (moves)
            expectPick(name, to);
        return {};
    }

    QString randomCodePoints(int count)
    {
        QString text;
        for (int i = 0; i < count; ++i) {
            const CodeRange &r = kTypingRanges[below(std::size(kTypingRanges))];
            const char32_t c = r.first + char32_t(below(unsigned(r.last - r.first + 1)));
            text += QString::fromUcs4(&c, 1);
        }
        return text;
    }

    QString randomText(const QString &list)
    {
        switch (below(10)) {
        case 0:
            return oneOf(m_oracle.items(list));   // one of the list's own items, exactly
        case 1:
            return oneOf(m_allItems);   // an item's exact text, of this list or another
        case 2: {
            const QString item = oneOf(m_allItems);   // a prefix or an extension
            return chance(50) ? item.left(qsizetype(below(unsigned(item.size()))) + 1)
                              : item + oneOf(QStringList{" ", "0", "x", "дб", "\u0301"});
        }
        case 3:
        case 4:
            return oneOf(oddTexts());
        case 5:
            return randomCodePoints(int(64 + below(400)));   // a long text
        default:
            return randomCodePoints(int(1 + below(12)));
        }
    }

    QString type(int number)
    {
        const QString name = oneOf(m_oracle.listNames());
        PickList *l = m_lists[name];
        QLineEdit *field = l->lineEdit();

        enum { Replace, Append, Clear } mode = Replace;
        const unsigned m = below(10);
        if (m < 2)
            mode = Clear;
        else if (m < 5)
            mode = Append;
        QString typed = mode == Clear ? QString() : randomText(name);
        if (mode == Append && m_oracle.shownText(name).size() + typed.size() > 30000)
            mode = Replace;   // the field's length limit is not what this is about
        const QString expected = mode == Append ? m_oracle.shownText(name) + typed : typed;

        const struct {
            Qt::Key key;
            const char *name;
        } ends[] = {{Qt::Key_Enter, "Enter"},
                    {Qt::Key_Return, "Return"},
                    {Qt::Key_Tab, "Tab"},
                    {Qt::Key_Backtab, "Shift+Tab"},
                    {Qt::Key_Escape, "Escape"}};
        const auto &end = ends[below(std::size(ends))];
        const char *modeName = mode == Replace ? "select all, type" : mode == Append ? "End, type" : "select all, Backspace";
        log(number, QStringLiteral("%1: click the field, %2 %3, %4")
                        .arg(name, QLatin1String(modeName), shortened(typed), QLatin1String(end.name)));

        QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
        QWidget *keys = focusIn(l);
        if (!keys)
            return focusFailure(name);
        if (mode == Append) {
            QTest::keyClick(keys, Qt::Key_End);
        } else {
            QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
            if (mode == Clear)
                QTest::keyClick(keys, Qt::Key_Backspace);
        }
        typeText(keys, typed);
        if (field->text() != expected) {
            return QStringLiteral("%1's field shows %2 after typing, expected %3")
                .arg(name, shortened(field->text()), shortened(expected));
        }
        if (end.key == Qt::Key_Backtab)
            QTest::keyClick(keys, Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClick(keys, end.key);
        m_oracle.showTyped(name, expected);
        return {};
    }

    ConfigWindow &m_window;
    QObject m_listening;   // ends the counting connections with this user
    std::mt19937 m_rng;
    RegisterOracle m_oracle;
    struct Cell {
        Register reg;
        int bit;
        QString what;   // the label, its register and bit
        QLabel *label;
    };
    std::vector<Cell> m_cells;   // CFG0 D15 to D0, then CFG1 D15 to D0
    std::array<QLabel *, kRegisterCount> m_words{};
    QHash<QString, QCheckBox *> m_boxes;
    QHash<QString, PickList *> m_lists;
    QStringList m_allItems;
    QHash<QString, int> m_picks, m_toggles, m_expectedPicks, m_expectedToggles;
    std::map<QString, int> m_counts;   // by action
    std::deque<QString> m_history;
    int m_reactivations = 0;
};

} // namespace

// The headless platform says at every popup that it cannot raise a window or
// grab the keyboard; thousands of popups would bury the test's own output.
QtMessageHandler g_nextHandler = nullptr;

void quietPlatformHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg
        && (message == QLatin1String("This plugin does not support raise()")
            || message == QLatin1String("This plugin does not support grabbing the keyboard"))) {
        return;
    }
    g_nextHandler(type, context, message);
}

class TestRandomUsers : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void randomUsers();

private:
    std::uint32_t m_seed = kDefaultSeed;
    int m_actions = kDefaultActions;
};

void TestRandomUsers::initTestCase()
{
    qulonglong seed = kDefaultSeed;
    qulonglong actions = kDefaultActions;
    const QString error = readNumber("ISD5116_RANDOM_SEED", 0xFFFFFFFFull, seed)
                          + readNumber("ISD5116_RANDOM_ACTIONS", 100000000ull, actions);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    m_seed = std::uint32_t(seed);
    m_actions = int(actions);
    qInfo("random users: ISD5116_RANDOM_SEED=%u ISD5116_RANDOM_ACTIONS=%d", m_seed, m_actions);
    g_nextHandler = qInstallMessageHandler(quietPlatformHandler);
}

void TestRandomUsers::cleanupTestCase()
{
    if (g_nextHandler)
        qInstallMessageHandler(g_nextHandler);
}

void TestRandomUsers::randomUsers()
{
    QElapsedTimer clock;
    clock.start();
    RandomUser user(*w, m_seed);
    const QString replay = QStringLiteral("ISD5116_RANDOM_SEED=%1").arg(m_seed);

    QStringList diff = user.differences();
    QVERIFY2(diff.isEmpty(),
             qPrintable(QStringLiteral("the window as it opens differs from the model (%1):\n  %2")
                            .arg(replay, diff.join(QStringLiteral("\n  ")))));

    for (int number = 1; number <= m_actions; ++number) {
        const QString broken = user.act(number);
        if (broken.isEmpty())
            diff = user.differences();
        else
            diff = QStringList{broken};
        if (!diff.isEmpty() || QTest::currentTestFailed()) {
            const QString more = diff.size() > kMaxMismatchesShown
                                     ? QStringLiteral("\n  … and %1 more").arg(diff.size() - kMaxMismatchesShown)
                                     : QString();
            const QString report =
                QStringLiteral("after action %1 of %2 (replay: %3 ISD5116_RANDOM_ACTIONS=%1)\n"
                               "last actions:\n  %4\ndifferences:\n  %5%6")
                    .arg(number)
                    .arg(m_actions)
                    .arg(replay, user.history().join(QStringLiteral("\n  ")),
                         diff.mid(0, kMaxMismatchesShown).join(QStringLiteral("\n  ")), more);
            if (QTest::currentTestFailed()) {
                qWarning("%s", qPrintable(report));
                return;
            }
            QFAIL(qPrintable(report));
        }
    }
    qInfo("random users: %d actions in %lld ms (%s)", m_actions, qint64(clock.elapsed()),
          qPrintable(user.statistics()));
}

ISD5116_WINDOW_TEST_MAIN(TestRandomUsers)
#include "tst_random_users.moc"
