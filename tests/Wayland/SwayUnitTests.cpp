// The sway backend's readers without a sway: the layout tree, the set-up's texts, binding
// commands and the session choice. Odd and hostile trees are the fuzzer's (SwayTreeFuzzer).
#include "Platform/Linux/LinuxSession.h"
#include "Platform/Wayland/SwayKeySetup.h"
#include "Platform/Wayland/SwayTree.h"

#include <gtest/gtest.h>

namespace {

TEST(SwayTree, ReadsWindowsWorkspacesOutputsAndTheScratchpad) {
    const auto tree = SwayTree::parse(R"({"type":"root","id":1,"focus":[3,2],"nodes":[
        {"type":"output","id":2,"name":"__i3","nodes":[{"type":"workspace","id":9,"name":"__i3_scratch",
            "floating_nodes":[{"type":"floating_con","id":20,"pid":300,"app_id":"hidden","name":"h"}]}]},
        {"type":"output","id":3,"name":"DP-1","make":"Acme","model":"X","serial":"7","current_workspace":"2",
         "rect":{"x":0,"y":0,"width":800,"height":600},"focus":[5,4],"nodes":[
            {"type":"workspace","id":4,"name":"1","output":"DP-1","nodes":[
                {"type":"con","id":10,"pid":100,"app_id":null,"window_properties":{"class":"XTerm","instance":"xterm"},
                 "name":"term"}]},
            {"type":"workspace","id":5,"name":"2","output":"DP-1","focus":[12,11],"nodes":[
                {"type":"con","id":11,"pid":101,"app_id":"b"},
                {"type":"con","id":12,"pid":102,"app_id":"c","focused":true,"visible":true}]}]}]})");
    ASSERT_TRUE(tree);
    std::vector<std::uint32_t> order;
    for (const SwayTree::Window& w : tree->windows)
        order.push_back(w.id);
    // Most recently focused first, the scratchpad's last.
    EXPECT_EQ(order, (std::vector<std::uint32_t>{12, 11, 10, 20}));
    EXPECT_EQ(tree->window(10)->wmClass, QStringLiteral("XTerm"));
    EXPECT_EQ(tree->window(10)->workspaceId, 4u);
    EXPECT_TRUE(tree->window(20)->inScratchpad);
    EXPECT_EQ(tree->focusedWindow()->id, 12u);
    ASSERT_EQ(tree->outputs.size(), 1u);
    EXPECT_EQ(tree->outputs[0].description, QStringLiteral("Acme X 7"));
    EXPECT_EQ(tree->workspaces.size(), 2u);
}

TEST(SwayKeySetup, SnippetOptionsAndBindingCommands) {
    const QByteArray snippet = SwayKeySetup::snippetText({12, 18}, {QStringLiteral("caps:escape")});
    EXPECT_TRUE(snippet.contains("input type:keyboard xkb_options caps:escape,kestavon:hyper_rsuper\n"));
    EXPECT_TRUE(snippet.contains("bindcode --no-repeat Mod3+24 nop kestavon 1-q\n")); // Q: evdev 16
    EXPECT_TRUE(snippet.contains("bindcode --no-repeat Mod3+10 nop kestavon 0-1\n")); // 1: evdev 2
    EXPECT_EQ(snippet.count("bindcode"), 2);

    const QString config = QStringLiteral(
        "input * {\n  xkb_options \"grp:alt_shift_toggle,caps:escape\"\n}\n"
        "# xkb_options commented:out\ninput foo xkb_options caps:escape,kestavon:hyper_rsuper\n");
    EXPECT_EQ(SwayKeySetup::userOptions(config, QStringLiteral("compose:ralt")),
              (QStringList{"grp:alt_shift_toggle", "caps:escape", "compose:ralt"}));

    for (const auto& [command, key] : std::vector<std::pair<const char*, std::optional<std::int64_t>>>{
             {"nop kestavon 1-q", 12},
             {"  nop   kestavon 0-1 ", 18},
             {"nop kestavon 9-z", std::nullopt},
             {"nop kestavon", std::nullopt},
             {"exec kestavon 1-q", std::nullopt},
             {"nop kestavon 1-q; exec x", std::nullopt}})
        EXPECT_EQ(SwayKeySetup::keyOfCommand(QString::fromUtf8(command)), key) << command;
}

TEST(LinuxSession, ChoosesTheBackendBySession) {
    using Kind = LinuxSession::Kind;
    struct Case {
        LinuxSession session;
        bool swayAnswers;
        bool toplevelsOffered;
        Kind kind;
    };
    for (const Case& c : std::vector<Case>{
             {{":0", "", "x11", ""}, false, false, Kind::x11},
             {{":0", "wayland-1", "wayland", "/run/sway.sock"}, true, true, Kind::sway},
             {{"", "wayland-1", "", ""}, false, true, Kind::wlroots},
             {{"", "wayland-1", "", "/run/sway.sock"}, false, false, Kind::unservedWayland},
             {{":0", "", "wayland", ""}, false, true, Kind::unservedWayland},
             {{"", "", "", ""}, false, false, Kind::none},
         }) {
        bool swayAsked = false, toplevelsAsked = false;
        EXPECT_EQ(c.session.kind([&] { return swayAsked = true, c.swayAnswers; },
                                 [&] { return toplevelsAsked = true, c.toplevelsOffered; }),
                  c.kind)
            << c.session.display.toStdString();
        EXPECT_EQ(swayAsked, !c.session.swaySocket.isEmpty());
        EXPECT_EQ(toplevelsAsked, !c.session.waylandDisplay.isEmpty() && c.kind != Kind::sway);
    }
}

} // namespace
