#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <Orvane/Assets/Packaged_asset.h>

namespace Orvane::Third_party {

/// One YAML file, read into a tree of nodes (the writer is Yaml_writer).
///
/// Reading: `Yaml(file, pref, false)` opens the file (from the per-user folder when `pref` is
/// true, else from the packaged game data) and `parse()` builds the tree. Scalars stay text and
/// are converted by the node accessors. Missing keys and out-of-range items are fatal with a
/// message that names the node's path and the file; a malformed game file is fatal, a malformed
/// per-user file gives a warning and no tree.
class Yaml {
  public:
    /// One node of the tree: a mapping (keyed children, ordered by key), a sequence (items in
    /// document order) or a scalar (its text in `value`). Child nodes are shared: copying a node
    /// copies its containers and shares the nodes in them.
    class Node {
      public:
        bool is_sequence = false;
        std::map<std::string, std::shared_ptr<Node>> children;
        std::vector<std::shared_ptr<Node>> items;
        std::string value;
        /// Name of the file the node was read from, quoted by fatal messages.
        std::shared_ptr<const std::string> file;
        /// Where the node lies in its file: keys and item indices joined by '/' ("cursor",
        /// "achievements/2"); empty for the top-level node. Quoted by fatal messages.
        std::string path;
        /// The line of the file (counted from 1) where the node starts; for a mapping's child,
        /// the line of its key. 0 for a node made by hand.
        std::size_t line = 0;

        Node() = default;
        Node(const Node& other) = default;
        Node& operator=(const Node& other) = default;
        /// Releases deep trees without recursion, so that any nesting depth is safe.
        ~Node();

        /// The child under `key`; fatal "Value <key> not found in Yaml input <value> (<path>,
        /// <file>:<line>)" when absent.
        const Node& operator[](const std::string& key) const;
        const Node& operator[](const char* key) const;
        /// Whether `key` is among the children.
        bool has(const std::string& key) const;

        // What the reader asked for. Every key looked up through operator[] or has() counts
        // as known to the reader of this mapping, whether the file has it or not; walking the
        // children with begin() and end() takes them all. What is left when an item has been
        // read is what its reader does not know: most often a misspelling.

        /// Takes the whole subtree as read (a part that its reader skips on purpose).
        void consume() const;
        /// Gives, once per key and per process, the warning "<file>:<line>: unknown key <key>
        /// is ignored", followed by " (did you mean <known>?)" when a key this mapping's
        /// reader asked for is close, for every key of every mapping of the subtree that was
        /// not asked for; the keys under an unknown one are not looked at. Each reported key
        /// then counts as read.
        void warn_unknown_keys() const;
        /// Called with each mapping and each key that a reader asks it for, when installed
        /// (null: none); the data tests use it to collect the keys every reader knows.
        using Key_observer = void (*)(const Node& mapping, const std::string& key);
        static void set_key_observer(Key_observer observer);
        /// Forgets which unknown keys were reported, so that they are reported again.
        static void forget_reported_keys();

        /// The i-th item of a sequence; fatal "Item <i> of <path> out of range in Yaml input
        /// (size <n>, <file>)" when i is not below `size()`.
        const Node& operator[](std::size_t i) const;
        const Node& operator[](int i) const;
        /// The number of items (0 for a mapping or a scalar).
        std::size_t size() const;

        /// Iteration over the keyed children, in key order.
        std::map<std::string, std::shared_ptr<Node>>::const_iterator begin() const;
        std::map<std::string, std::shared_ptr<Node>>::const_iterator end() const;

        /// The scalar text, unchanged.
        const std::string& string() const;
        /// folder + "/" + value + "." + extension: the data path of a file named by base name.
        std::string string(const std::string& folder, const std::string& extension) const;
        /// folder1 + "/" + folder2 + "/" + value + "." + extension.
        std::string string(const std::string& folder1, const std::string& folder2,
                           const std::string& extension) const;
        /// The key of a mapping with exactly one child (a list entry written as a one-key
        /// mapping); fatal for any other number of children.
        const std::string& nstring() const;
        /// The value's leading decimal integer, 0 when there is none.
        int integer() const;
        /// The value read as a decimal or exponent number, 0 when there is none.
        double floating() const;
        /// True only for the exact text "true".
        bool boolean() const;
        /// True when the value starts with '+' or '-' (an offset rather than a coordinate).
        bool is_relative() const;
        /// The texts of the items, in order.
        std::vector<std::string> string_array() const;
        /// A duration written M:S.mmm, in seconds (M * 60 + S + mmm / 1000); the part after '.'
        /// counts thousandths whatever its length. Fatal without ':' or '.'.
        double time() const;
        /// Walks the subtree, giving each node its path from `prefix` (keys and item indices
        /// joined by '/'); writes nothing. Any nesting depth is safe.
        void print(const std::string& prefix) const;

      private:
        /// Records `key` as asked for.
        void ask(const std::string& key) const;
        /// Whether `key` is among the children, without asking for it.
        bool has_child(const std::string& key) const;
        /// The keys a reader asked this mapping for (present or not), in the order asked.
        mutable std::vector<std::string> m_asked;
        /// Where fatal messages say the node comes from: its path (when it has one) and file.
        std::string where() const;
        /// The file name and, when known, the node's line: "data/rooms/quay.yaml:12".
        std::string file_name() const;
        /// " of <path>", or nothing for the top-level node.
        std::string of() const;
    };

    /// Opens `file` for reading: with `pref` a file of the per-user folder, else a packaged
    /// entry. Nothing is parsed yet.
    Yaml(const std::string& file, bool pref);
    /// As above; `write` must be false (files are written through Yaml_writer).
    Yaml(const std::string& file, bool pref, bool write);
    /// Reads from an already opened stream; `name` is what messages call the file.
    Yaml(const std::string& name, Packaged_asset asset);
    Yaml(const Yaml&) = delete;
    Yaml& operator=(const Yaml&) = delete;
    /// Closes the file if it is still open, then releases the tree.
    ~Yaml();

    /// Builds the tree. False, without a message, when the file did not open, when it holds no
    /// document or when its top level is not a mapping (the caller then uses its defaults).
    /// A file that libyaml rejects, that uses anchors, aliases or non-scalar keys, or that nests
    /// mappings and sequences more than 64 deep, names the file and the line (counted from 1,
    /// with the line where an unclosed bracket or quote opened): game data stop with that
    /// message, while a file of the per-user folder (the player's) gives a warning and false.
    /// Only a regular file is read (a directory counts as missing).
    bool parse();

    /// What parse() would stop with for a file `name` holding these bytes ("Failed parsing
    /// Yaml file (<name>:<line>)..."), also when its top level is not a mapping; nothing when
    /// the engine can read it. Never fatal: the package writer checks files with it.
    static std::optional<std::string> problem(const std::string& name, const char* data,
                                              std::size_t size);

    /// Whether the file was opened (a missing per-user file was not).
    bool is_open() const { return static_cast<bool>(m_file); }
    /// The opened file's size in bytes; 0 when it is not open.
    std::size_t size() const { return m_file.size(); }

    /// The top-level mapping; fatal when nothing was parsed.
    const Node& root() const;
    /// The root's child under `key` (fatal when missing, as for a node).
    const Node& operator[](const std::string& key) const;
    const Node& operator[](const char* key) const;
    /// The root's i-th item (fatal out of range, as for a node).
    const Node& operator[](int i) const;
    /// Whether the root has `key` (false when nothing was parsed).
    bool has(const std::string& key) const;

    /// Closes the file when it is open.
    void close();

  private:
    /// The tree of a whole file; null, with `failure` set to the message, on the first fault.
    static std::shared_ptr<Node> build_tree(const std::string& name, const unsigned char* data,
                                            std::size_t size, std::string& failure);

    std::string m_name;
    Packaged_asset m_file;
    bool m_pref = false;
    std::shared_ptr<Node> m_root;
};

} // namespace Orvane::Third_party
