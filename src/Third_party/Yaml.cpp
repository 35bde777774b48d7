#include <algorithm>
#include <atomic>
#include <deque>
#include <unordered_set>
#include <utility>

#include <yaml.h>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Third_party/SDL_file.h>
#include <Orvane/Third_party/Yaml.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::Third_party {

namespace {

// libyaml's parser and event, released whichever way parsing ends.
struct Parser {
    yaml_parser_t parser;
    bool ready;
    Parser() : ready(yaml_parser_initialize(&parser) != 0) {}
    ~Parser() {
        if (ready)
            yaml_parser_delete(&parser);
    }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
};

struct Event {
    yaml_event_t event;
    bool filled = false;
    ~Event() {
        if (filled)
            yaml_event_delete(&event);
    }
};

// The deepest nesting of mappings and sequences a file may hold.
constexpr std::size_t max_depth = 64;

const char* anchor_of(const yaml_event_t& event) {
    switch (event.type) {
    case YAML_SCALAR_EVENT:
        return reinterpret_cast<const char*>(event.data.scalar.anchor);
    case YAML_SEQUENCE_START_EVENT:
        return reinterpret_cast<const char*>(event.data.sequence_start.anchor);
    case YAML_MAPPING_START_EVENT:
        return reinterpret_cast<const char*>(event.data.mapping_start.anchor);
    default:
        return nullptr;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Node

Yaml::Node::~Node() {
    // Children whose last owner is this node are emptied here, one level at a time, so that a
    // deeply nested tree never recurses through the destructors.
    std::vector<std::shared_ptr<Node>> pending;
    auto take = [&pending](Node& node) {
        for (auto& item : node.items)
            pending.push_back(std::move(item));
        node.items.clear();
        for (auto& child : node.children)
            pending.push_back(std::move(child.second));
        node.children.clear();
    };
    take(*this);
    while (!pending.empty()) {
        std::shared_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        if (node && node.use_count() == 1)
            take(*node);
    }
}

std::string Yaml::Node::file_name() const {
    std::string name = file ? *file : std::string("(no file)");
    if (line != 0)
        name += ":" + std::to_string(line);
    return name;
}

std::string Yaml::Node::where() const {
    return path.empty() ? file_name() : path + ", " + file_name();
}

std::string Yaml::Node::of() const { return path.empty() ? std::string() : " of " + path; }

namespace {

std::atomic<Yaml::Node::Key_observer> key_observer{nullptr};

// "<file>:<line>:<key>" of every unknown key already reported.
std::unordered_set<std::string>& reported_keys() {
    static std::unordered_set<std::string> reported;
    return reported;
}

} // namespace

void Yaml::Node::set_key_observer(Key_observer observer) { key_observer.store(observer); }

void Yaml::Node::forget_reported_keys() { reported_keys().clear(); }

void Yaml::Node::ask(const std::string& key) const {
    if (std::find(m_asked.begin(), m_asked.end(), key) == m_asked.end())
        m_asked.push_back(key);
    if (Key_observer observer = key_observer.load())
        observer(*this, key);
}

void Yaml::Node::consume() const {
    std::vector<const Node*> pending{this};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        for (const auto& [key, child] : node->children) {
            if (std::find(node->m_asked.begin(), node->m_asked.end(), key) ==
                node->m_asked.end())
                node->m_asked.push_back(key);
            pending.push_back(child.get());
        }
        for (const auto& item : node->items)
            pending.push_back(item.get());
    }
}

void Yaml::Node::warn_unknown_keys() const {
    // given in the order of the file's lines
    std::vector<std::pair<std::size_t, std::string>> found;
    std::vector<const Node*> pending{this};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        for (const auto& item : node->items)
            pending.push_back(item.get());
        // the keys the reader asked for: present ones, and absent ones (likeliest meant)
        const std::vector<std::string> known = node->m_asked;
        std::vector<std::string> missing;
        for (const std::string& name : known)
            if (!node->has_child(name))
                missing.push_back(name);
        for (const auto& [key, child] : node->children) {
            if (std::find(known.begin(), known.end(), key) != known.end()) {
                pending.push_back(child.get());
                continue;
            }
            // reported once: neither it nor what lies under it is looked at again
            node->m_asked.push_back(key);
            child->consume();
            const std::string where = child->file_name();
            if (!reported_keys().insert(where + ":" + key).second)
                continue;
            std::optional<std::string> meant = closest_word(key, missing);
            if (!meant)
                meant = closest_word(key, known);
            found.emplace_back(child->line, where + ": unknown key " + key + " is ignored" +
                                                (meant ? " (did you mean " + *meant + "?)"
                                                       : std::string()));
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [line_number, message] : found)
        warning(message);
}

const Yaml::Node& Yaml::Node::operator[](const std::string& key) const {
    ask(key);
    auto found = children.find(key);
    if (found == children.end()) [[unlikely]] {
        // the likeliest cause is a misspelling of the key among those the reader does not know
        std::vector<std::string> unread;
        for (const auto& [name, child] : children)
            if (std::find(m_asked.begin(), m_asked.end(), name) == m_asked.end())
                unread.push_back(name);
        std::string hint;
        if (const auto typo = closest_word(key, unread))
            hint = ": " + *typo + " at line " + std::to_string(children.at(*typo)->line) +
                   " looks like a misspelling of it";
        check_impl(__FILE__, __LINE__,
                   "Value " + key + " not found in Yaml input " + value +
                       (value.empty() ? "(" : " (") + where() + ")" + hint);
    }
    return *found->second;
}

const Yaml::Node& Yaml::Node::operator[](const char* key) const {
    return (*this)[std::string(key)];
}

bool Yaml::Node::has(const std::string& key) const {
    ask(key);
    return has_child(key);
}

bool Yaml::Node::has_child(const std::string& key) const {
    return children.find(key) != children.end();
}

const Yaml::Node& Yaml::Node::operator[](std::size_t i) const {
    ORVANE_CHECK(i < items.size(), "Item " + std::to_string(i) + of() +
                                       " out of range in Yaml input (size " +
                                       std::to_string(items.size()) + ", " + file_name() + ")");
    return *items[i];
}

const Yaml::Node& Yaml::Node::operator[](int i) const {
    ORVANE_CHECK(i >= 0, "Item " + std::to_string(i) + of() +
                             " out of range in Yaml input (size " + std::to_string(items.size()) +
                             ", " + file_name() + ")");
    return (*this)[static_cast<std::size_t>(i)];
}

std::size_t Yaml::Node::size() const { return items.size(); }

std::map<std::string, std::shared_ptr<Yaml::Node>>::const_iterator Yaml::Node::begin() const {
    // a walk over the children reads every key: they are the reader's data, not its keys
    for (const auto& [key, child] : children)
        if (std::find(m_asked.begin(), m_asked.end(), key) == m_asked.end())
            m_asked.push_back(key);
    return children.begin();
}

std::map<std::string, std::shared_ptr<Yaml::Node>>::const_iterator Yaml::Node::end() const {
    return children.end();
}

const std::string& Yaml::Node::string() const { return value; }

std::string Yaml::Node::string(const std::string& folder, const std::string& extension) const {
    return folder + "/" + value + "." + extension;
}

std::string Yaml::Node::string(const std::string& folder1, const std::string& folder2,
                               const std::string& extension) const {
    return folder1 + "/" + folder2 + "/" + value + "." + extension;
}

const std::string& Yaml::Node::nstring() const {
    ORVANE_CHECK(children.size() == 1, "Checking for nstring in non-singular input (" + where() + ")");
    return children.begin()->first;
}

int Yaml::Node::integer() const { return to_int(value); }

double Yaml::Node::floating() const { return to_double(value); }

bool Yaml::Node::boolean() const { return to_bool(value); }

bool Yaml::Node::is_relative() const { return Orvane::is_relative(value); }

std::vector<std::string> Yaml::Node::string_array() const {
    std::vector<std::string> out;
    out.reserve(items.size());
    for (const auto& item : items)
        out.push_back(item->value);
    return out;
}

double Yaml::Node::time() const {
    const std::size_t colon = value.find(':');
    ORVANE_CHECK(colon != std::string::npos, "Time string should have ':' character (" + where() + ")");
    const std::size_t dot = value.find('.', colon);
    ORVANE_CHECK(dot != std::string::npos, "Time string should have '.' character (" + where() + ")");
    const int minutes = to_int(value.substr(0, colon));
    const int seconds = to_int(value.substr(colon + 1, dot - colon - 1));
    const int thousandths = to_int(value.substr(dot + 1));
    return minutes * 60.0 + seconds + thousandths / 1000.0;
}

void Yaml::Node::print(const std::string& prefix) const {
    // An explicit stack instead of recursion, so that a deeply nested file cannot exhaust it.
    std::vector<std::pair<const Node*, std::string>> pending{{this, prefix}};
    while (!pending.empty()) {
        auto [node, at] = std::move(pending.back());
        pending.pop_back();
        for (std::size_t i = 0; i < node->items.size(); ++i)
            pending.emplace_back(node->items[i].get(), at + "/" + std::to_string(i));
        for (const auto& [key, child] : node->children)
            pending.emplace_back(child.get(), at + "/" + key);
    }
}

// ---------------------------------------------------------------------------------------------
// Yaml: opening and reading

Yaml::Yaml(const std::string& file, bool pref) : m_name(file), m_pref(pref) {
    if (pref)
        m_file = Packaged_asset_manager::open_pref(file, false);
    else
        m_file = Packaged_asset_manager::open(file, false);
}

Yaml::Yaml(const std::string& file, bool pref, bool write) : Yaml(file, pref) {
    ORVANE_CHECK(!write, "Yaml opens " + file + " for reading only; Yaml_writer writes files");
}

Yaml::Yaml(const std::string& name, Packaged_asset asset) : m_name(name), m_file(asset) {}

Yaml::~Yaml() { close(); }

void Yaml::close() {
    if (m_file)
        m_file.close();
    m_file = Packaged_asset();
}

bool Yaml::parse() {
    if (!m_file)
        return false;

    // A file that cannot be read whole stops the game when it is game data; the player's own
    // file is only warned about, and its reader falls back on defaults.
    auto unreadable = [this](const std::string& why) {
        const std::string message = "Error while reading " + m_name + why;
        if (!m_pref)
            check_impl(__FILE__, __LINE__, message);
        warning(message);
        return false;
    };
    const std::size_t size = m_file.size();
    const std::size_t memory = SDL_file::memory_size();
    if (memory != 0 && size >= memory)
        return unreadable(": its " + std::to_string(size) + " bytes do not fit in memory");
    std::vector<unsigned char> buffer(size + 1, 0);
    if (m_file.read_whole(buffer.data(), size) != size)
        return unreadable("");

    std::string failure;
    std::shared_ptr<Node> root = build_tree(m_name, buffer.data(), size, failure);
    if (!failure.empty()) {
        // The player's own files never stop the game: their reader falls back on defaults.
        if (!m_pref)
            check_impl(__FILE__, __LINE__, failure);
        warning(failure);
        return false;
    }
    m_root = std::move(root);
    return m_root && !m_root->is_sequence;
}

std::optional<std::string> Yaml::problem(const std::string& name, const char* data,
                                         std::size_t size) {
    std::string failure;
    const std::shared_ptr<Node> root =
        build_tree(name, reinterpret_cast<const unsigned char*>(data), size, failure);
    if (!failure.empty())
        return failure;
    if (!root || root->is_sequence)
        return "Failed parsing Yaml file (" + name + ":1): its top level is not a mapping";
    return std::nullopt;
}

std::shared_ptr<Yaml::Node> Yaml::build_tree(const std::string& name, const unsigned char* data,
                                             std::size_t size, std::string& failure) {
    Parser parser;
    ORVANE_CHECK(parser.ready, "Failed initializing Yaml parser");
    yaml_parser_set_input_string(&parser.parser, data, size);

    // The first fault ends the reading; what it means depends on whose file it is. Lines are
    // counted from 1, as editors count them.
    auto fail = [&name, &failure](std::size_t line, const std::string& why) {
        if (failure.empty())
            failure = "Failed parsing Yaml file (" + name + ":" + std::to_string(line + 1) + ")" +
                      (why.empty() ? std::string() : ": " + why);
    };
    auto child_path = [](const Node& parent, const std::string& key_name) {
        return parent.path.empty() ? key_name : parent.path + "/" + key_name;
    };

    const auto file_name = std::make_shared<const std::string>(name);
    auto make_node = [&file_name](bool is_sequence, const yaml_mark_t& mark) {
        auto node = std::make_shared<Node>();
        node->is_sequence = is_sequence;
        node->file = file_name;
        node->line = mark.line + 1;
        return node;
    };

    std::deque<std::shared_ptr<Node>> stack;
    std::string key;
    // where the pending key stands: a value is placed at its key's line
    yaml_mark_t key_mark{};
    std::shared_ptr<Node> root;

    // Files a new container under the open one: appended to a sequence, or inserted under the
    // pending key of a mapping (the first of duplicate keys wins).
    auto attach = [&](const std::shared_ptr<Node>& node, const yaml_event_t& event) {
        if (stack.empty())
            return;
        Node& top = *stack.back();
        if (top.is_sequence) {
            node->path = child_path(top, std::to_string(top.items.size()));
            top.items.push_back(node);
            return;
        }
        // A container where a mapping expects its key would shift every later key and value.
        if (key.empty()) {
            fail(event.start_mark.line, "only scalars can be keys");
            return;
        }
        node->path = child_path(top, key);
        node->line = key_mark.line + 1;
        top.children.emplace(key, node);
        key.clear();
    };

    for (bool done_parsing = false; !done_parsing;) {
        Event event;
        if (!yaml_parser_parse(&parser.parser, &event.event)) {
            std::string why =
                parser.parser.problem ? std::string(parser.parser.problem) : std::string();
            // an unclosed bracket or quote is found far from where it opened: name both
            if (parser.parser.context)
                why += std::string(why.empty() ? "" : ", ") + parser.parser.context +
                       " at line " + std::to_string(parser.parser.context_mark.line + 1);
            fail(parser.parser.problem ? parser.parser.problem_mark.line : parser.parser.mark.line,
                 why);
            break;
        }
        event.filled = true;
        const yaml_event_t& e = event.event;

        if (e.type == YAML_ALIAS_EVENT || anchor_of(e) != nullptr) {
            fail(e.start_mark.line, "anchors and aliases are not supported");
            break;
        }

        switch (e.type) {
        case YAML_SCALAR_EVENT: {
            if (stack.empty())
                break; // a bare scalar document: no mapping at the top
            std::string text(reinterpret_cast<const char*>(e.data.scalar.value),
                             e.data.scalar.length);
            Node& top = *stack.back();
            if (top.is_sequence) {
                auto node = make_node(false, e.start_mark);
                node->value = std::move(text);
                node->path = child_path(top, std::to_string(top.items.size()));
                top.items.push_back(std::move(node));
            } else if (key.empty()) {
                key = std::move(text);
                key_mark = e.start_mark;
            } else {
                auto node = make_node(false, key_mark);
                node->value = std::move(text);
                node->path = child_path(top, key);
                top.children.emplace(key, std::move(node));
                key.clear();
            }
            break;
        }
        case YAML_SEQUENCE_START_EVENT:
        case YAML_MAPPING_START_EVENT: {
            // libyaml's time grows with the square of the nesting depth: stop long before that
            // matters, so that no file can stall the start.
            if (stack.size() >= max_depth)
                fail(e.start_mark.line,
                     "nesting deeper than " + std::to_string(max_depth) + " levels");
            auto node = make_node(e.type == YAML_SEQUENCE_START_EVENT, e.start_mark);
            attach(node, e);
            key.clear();
            stack.push_back(std::move(node));
            break;
        }
        case YAML_SEQUENCE_END_EVENT:
        case YAML_MAPPING_END_EVENT:
            // The top-level node becomes the root only once it is closed, so the whole tree
            // of a document hangs from it.
            if (!stack.empty()) {
                std::shared_ptr<Node> node = std::move(stack.back());
                stack.pop_back();
                if (stack.empty())
                    root = std::move(node);
            }
            key.clear();
            break;
        case YAML_STREAM_END_EVENT:
            done_parsing = true;
            break;
        default:
            break;
        }
        if (!failure.empty())
            break;
    }
    if (!failure.empty())
        return nullptr;
    return root;
}

const Yaml::Node& Yaml::root() const {
    ORVANE_CHECK(m_root != nullptr, "No Yaml document in " + m_name);
    return *m_root;
}

const Yaml::Node& Yaml::operator[](const std::string& key) const { return root()[key]; }

const Yaml::Node& Yaml::operator[](const char* key) const { return root()[std::string(key)]; }

const Yaml::Node& Yaml::operator[](int i) const { return root()[i]; }

bool Yaml::has(const std::string& key) const { return m_root && m_root->has(key); }

} // namespace Orvane::Third_party
