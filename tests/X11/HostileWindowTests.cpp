// Windows whose names and properties no well-behaved client would set: invalid UTF-8, wrong
// types and formats, empty and enormous values. The window server and kestavon-inventory read
// them without failing, with replacement characters or the next best property.
#include "X11Fixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

namespace {

struct RawProperty {
    const char* name;
    /// An atom name, or nullptr for STRING.
    const char* type;
    int format;
    QByteArray bytes;
};

class HostileWindows : public X11Fixture {
protected:
    /// A window with a pid and a plain class, then these properties written over whatever it had.
    xcb_window_t make(const std::vector<RawProperty>& properties) {
        const xcb_window_t window =
            windows->create({.pid = std::int32_t(getpid()), .wmClass = QByteArray("hostile\0Hostile\0", 16)});
        xcb_connection_t* c = windows->connection();
        for (const RawProperty& p : properties) {
            const xcb_atom_t type = p.type ? windows->atom(p.type) : xcb_atom_t(XCB_ATOM_STRING);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, windows->atom(p.name), type,
                                std::uint8_t(p.format), std::uint32_t(p.bytes.size() / (p.format / 8)),
                                p.bytes.constData());
        }
        // A reply after the changes: the server has applied them.
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        return window;
    }
};

QByteArray cardinal(std::uint32_t value) {
    return QByteArray(reinterpret_cast<const char*>(&value), 4);
}

const QChar replacement = QChar::ReplacementCharacter;

} // namespace

TEST_F(HostileWindows, NamesAndPropertiesOfAnyShapeGiveEntriesAndValidInventoryJson) {
    const QByteArray controls("\x01\x1b[31mred\x7f \"q\" \\");
    const xcb_window_t invalid =
        make({{"_NET_WM_NAME", "UTF8_STRING", 8, QByteArray("ab\xff\xc3(\xed\xa0\x80z")},
              {"WM_CLASS", nullptr, 8, QByteArray("in\xffst\0Cl\xc3\x28ss\0", 12)}});
    const xcb_window_t wideName = make({{"_NET_WM_NAME", "UTF8_STRING", 32, QByteArray("wide name!!!", 12)},
                                        {"WM_NAME", nullptr, 8, QByteArray("fallback")}});
    const xcb_window_t emptyName = make({{"_NET_WM_NAME", "UTF8_STRING", 8, QByteArray()},
                                         {"WM_NAME", nullptr, 8, QByteArray("legacy")},
                                         {"WM_CLASS", nullptr, 8, QByteArray()}});
    const xcb_window_t compound = make({{"WM_NAME", "COMPOUND_TEXT", 8, QByteArray("\xff\xfe ok")}});
    const xcb_window_t wideClass =
        make({{"WM_CLASS", nullptr, 16, QByteArray("i\0n\0s\0t\0", 8)},
              {"_NET_WM_NAME", "UTF8_STRING", 8, controls + QByteArray("\0after", 6)}});
    const xcb_window_t huge = make({{"_NET_WM_NAME", "UTF8_STRING", 8, QByteArray(1 << 20, '\xff')},
                                    {"WM_CLASS", nullptr, 8, QByteArray(1 << 20, 'c')}});
    const xcb_window_t oddTypes = make({{"_NET_WM_WINDOW_TYPE", "ATOM", 8, QByteArray("xyz")},
                                        {"_NET_WM_DESKTOP", nullptr, 8, QByteArray("2")},
                                        {"_NET_WM_STATE", "ATOM", 16, QByteArray("\1\0\2\0", 4)},
                                        {"_NET_WM_WINDOW_OPACITY", "CARDINAL", 8, QByteArray("\xff")},
                                        {"_NET_WM_NAME", "UTF8_STRING", 8, QByteArray("odd types")}});
    const xcb_window_t stringPid = make({{"_NET_WM_PID", nullptr, 8, QByteArray("1234")}});
    const xcb_window_t hugePid = make({{"_NET_WM_PID", "CARDINAL", 32, cardinal(0xFFFFFFFF)}});
    const xcb_window_t emptyPid = make({{"_NET_WM_PID", "CARDINAL", 32, QByteArray()}});

    const WindowInfo i = info(invalid);
    const QString name = i.title.value_or(QString());
    EXPECT_TRUE(name.startsWith(QStringLiteral("ab") + replacement) && name.endsWith(QLatin1Char('z')));
    EXPECT_TRUE(i.ownerName.value_or(QString()).startsWith(QStringLiteral("Cl") + replacement));
    EXPECT_EQ(info(wideName).title, QStringLiteral("fallback"));
    EXPECT_EQ(info(emptyName).ownerName, std::nullopt);
    EXPECT_EQ(info(emptyName).title, QStringLiteral("legacy"));
    const QString compoundName = info(compound).title.value_or(QString());
    EXPECT_TRUE(compoundName.endsWith(QStringLiteral(" ok")) && compoundName.contains(replacement))
        << compoundName.toStdString();
    EXPECT_EQ(info(wideClass).ownerName, std::nullopt);
    EXPECT_EQ(info(wideClass).title, QString::fromLatin1(controls));
    const QString hugeName = info(huge).title.value_or(QString());
    EXPECT_FALSE(hugeName.isEmpty());
    EXPECT_LE(hugeName.size(), 64 * 1024);
    EXPECT_EQ(hugeName.count(replacement), hugeName.size());
    EXPECT_EQ(info(oddTypes).layer, 0);
    EXPECT_EQ(info(oddTypes).opacity, 1.0);

    int status = -1;
    const QString json = runTool(QStringLiteral(KESTAVON_INVENTORY_TOOL), {}, &status);
    ASSERT_EQ(status, 0);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    std::map<std::uint32_t, QString> titles;
    for (const QJsonValue app : document.object().value(QStringLiteral("apps")).toArray())
        for (const QJsonValue window : app.toObject().value(QStringLiteral("windows")).toArray())
            titles[std::uint32_t(window.toObject().value(QStringLiteral("id")).toInteger())] =
                window.toObject().value(QStringLiteral("title")).toString();
    // Malformed pids too: the server knows the process that made a window.
    for (const xcb_window_t listed :
         {invalid, wideName, emptyName, compound, wideClass, huge, oddTypes, stringPid, hugePid, emptyPid})
        EXPECT_TRUE(titles.count(listed)) << "window " << listed << " missing from the inventory";
    EXPECT_EQ(titles[invalid], name);
    EXPECT_EQ(titles[wideClass], QString::fromLatin1(controls));
    EXPECT_EQ(titles[huge], hugeName);
}
