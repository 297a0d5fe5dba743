#include "SwayTree.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace {

// Deeper than any real layout; a deeper answer is cut off there.
constexpr int maxDepth = 200;
const QString scratchpadWorkspace = QStringLiteral("__i3_scratch");

QString text(const QJsonObject& node, const char* key) {
    const QJsonValue value = node.value(QLatin1String(key));
    return value.isString() ? value.toString() : QString();
}

std::optional<std::uint64_t> containerId(const QJsonObject& node) {
    const QJsonValue value = node.value(QLatin1String("id"));
    if (!value.isDouble()) return std::nullopt;
    const double id = value.toDouble();
    if (!(id >= 1 && id <= double(std::numeric_limits<std::uint32_t>::max())) ||
        id != double(std::int64_t(id)))
        return std::nullopt;
    return std::uint64_t(id);
}

QRectF rect(const QJsonObject& node) {
    const QJsonObject r = node.value(QLatin1String("rect")).toObject();
    const auto number = [&r](const char* key) {
        const double v = r.value(QLatin1String(key)).toDouble();
        return std::isfinite(v) && std::abs(v) < 1e7 ? v : 0.0;
    };
    return {number("x"), number("y"), number("width"), number("height")};
}

// The children of a node, most recently focused first: sway's "focus" list names them in that
// order; any child it leaves out follows in the tree's order.
std::vector<std::pair<QJsonObject, bool>> childrenByFocus(const QJsonObject& node) {
    std::vector<std::pair<QJsonObject, bool>> children; // (child, floating)
    QHash<std::uint64_t, std::size_t> byId;
    for (const char* key : {"nodes", "floating_nodes"}) {
        const QJsonValue list = node.value(QLatin1String(key));
        if (!list.isArray()) continue;
        for (const QJsonValue& child : list.toArray()) {
            if (!child.isObject()) continue;
            if (const auto id = containerId(child.toObject())) byId.insert(*id, children.size());
            children.emplace_back(child.toObject(), key[0] == 'f');
        }
    }
    std::vector<std::pair<QJsonObject, bool>> ordered;
    std::vector<bool> taken(children.size(), false);
    for (const QJsonValue& focus : node.value(QLatin1String("focus")).toArray()) {
        const double id = focus.toDouble(-1);
        if (id < 1) continue;
        const auto at = byId.constFind(std::uint64_t(id));
        if (at == byId.constEnd() || taken[*at]) continue;
        taken[*at] = true;
        ordered.push_back(children[*at]);
    }
    for (std::size_t i = 0; i < children.size(); ++i)
        if (!taken[i]) ordered.push_back(children[i]);
    return ordered;
}

struct Reader {
    SwayTree tree;
    std::vector<SwayTree::Window> scratchpad;

    void read(const QJsonObject& node, int depth, const QString& workspace, std::uint64_t workspaceId,
              bool floating) {
        if (depth > maxDepth) return;
        const QString type = text(node, "type");
        QString inWorkspace = workspace;
        std::uint64_t inWorkspaceId = workspaceId;
        if (type == QLatin1String("output")) {
            const QString name = text(node, "name");
            if (name.isEmpty()) return;
            if (name != QLatin1String("__i3"))
                tree.outputs.push_back(
                    {name,
                     QStringList{text(node, "make"), text(node, "model"), text(node, "serial")}
                         .join(QLatin1Char(' '))
                         .simplified(),
                     rect(node), text(node, "current_workspace"),
                     node.value(QLatin1String("focused")).toBool()});
        } else if (type == QLatin1String("workspace")) {
            const auto id = containerId(node);
            inWorkspace = text(node, "name");
            if (!id || inWorkspace.isEmpty()) return;
            inWorkspaceId = *id;
            if (inWorkspace != scratchpadWorkspace)
                tree.workspaces.push_back({*id, inWorkspace, text(node, "output")});
        } else if (type == QLatin1String("con") || type == QLatin1String("floating_con")) {
            if (readWindow(node, inWorkspace, inWorkspaceId,
                           floating || type == QLatin1String("floating_con")))
                return;
        } else if (type != QLatin1String("root")) {
            return;
        }
        for (const auto& [child, isFloating] : childrenByFocus(node))
            read(child, depth + 1, inWorkspace, inWorkspaceId, isFloating);
    }

    // True when the node is a window (an application's surface, with no children of its own).
    bool readWindow(const QJsonObject& node, const QString& workspace, std::uint64_t workspaceId,
                    bool floating) {
        const QJsonValue pid = node.value(QLatin1String("pid"));
        const auto id = containerId(node);
        if (!pid.isDouble() || !id) return false;
        const double p = pid.toDouble();
        SwayTree::Window window;
        window.id = std::uint32_t(*id);
        window.pid = p >= 1 && p <= std::numeric_limits<std::int32_t>::max() ? std::int32_t(p) : 0;
        window.appId = text(node, "app_id");
        const QJsonObject properties = node.value(QLatin1String("window_properties")).toObject();
        window.wmClass = text(properties, "class");
        window.wmInstance = text(properties, "instance");
        if (const QJsonValue name = node.value(QLatin1String("name")); name.isString())
            window.title = name.toString();
        window.rect = rect(node);
        window.focused = node.value(QLatin1String("focused")).toBool();
        window.visible = node.value(QLatin1String("visible")).toBool();
        window.floating = floating;
        window.inScratchpad = workspace == scratchpadWorkspace;
        if (!window.inScratchpad) {
            window.workspace = workspace;
            window.workspaceId = workspaceId;
        }
        (window.inScratchpad ? scratchpad : tree.windows).push_back(std::move(window));
        return true;
    }
};

} // namespace

std::optional<SwayTree> SwayTree::parse(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonObject root = document.object();
    if (text(root, "type") != QLatin1String("root")) return std::nullopt;
    Reader reader;
    reader.read(root, 0, {}, 0, false);
    for (auto& window : reader.scratchpad)
        reader.tree.windows.push_back(std::move(window));
    return std::move(reader.tree);
}

const SwayTree::Window* SwayTree::window(std::uint32_t id) const {
    const auto found =
        std::find_if(windows.begin(), windows.end(), [id](const Window& w) { return w.id == id; });
    return found == windows.end() ? nullptr : &*found;
}

const SwayTree::Workspace* SwayTree::workspace(std::uint64_t id) const {
    const auto found =
        std::find_if(workspaces.begin(), workspaces.end(), [id](const Workspace& w) { return w.id == id; });
    return found == workspaces.end() ? nullptr : &*found;
}

const SwayTree::Output* SwayTree::output(const QString& name) const {
    const auto found =
        std::find_if(outputs.begin(), outputs.end(), [&name](const Output& o) { return o.name == name; });
    return found == outputs.end() ? nullptr : &*found;
}

const SwayTree::Window* SwayTree::focusedWindow() const {
    const auto found =
        std::find_if(windows.begin(), windows.end(), [](const Window& w) { return w.focused; });
    return found == windows.end() ? nullptr : &*found;
}
