#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <Orvane/Component/Base.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Position.h>
#include <Orvane/Utils/graph.h>

namespace Orvane {

/// How a menu vertex lays out its children. The menu tree only tells NO_SPLIT (a vertex not
/// split yet) from the others; their layout meaning is the Menu system's.
enum class Split_direction : int { NO_SPLIT = 0, SINGLE = 1, VERTICALLY = 2, HORIZONTALLY = 3 };

namespace Component {

/// The layout of one menu page as a tree: the root stands for the page, each vertex is split
/// once into children laid out in a direction and carries the images shown for it (a button, a
/// text, or for a setting one image per value, of which the current one is shown) with their
/// position. Built and walked through Vertex_wrapper handles.
class Menu : public Base {
  public:
    /// One node of the tree. A setting is a vertex without children holding two images or
    /// more: its position's entity is the setting's id, its images (named id_value) its values,
    /// `current` the selected one.
    struct Vertex {
        Split_direction direction = Split_direction::NO_SPLIT;
        std::vector<std::shared_ptr<Image>> images;
        std::shared_ptr<Position> position;
        std::size_t current = 0;
    };

    /// Links carry no data.
    struct Edge {};

    using Graph_type = Graph<Vertex, Edge, true>;
    using Vertex_handle = Typed_int<Vertex>;

    /// A cheap handle on one vertex of a menu's tree; copies refer to the same vertex. Valid as
    /// long as the menu lives.
    class Vertex_wrapper {
      public:
        Vertex_wrapper(Graph_type& graph, Vertex_handle vertex);

        /// Gives the vertex its direction and n new children (numbered 0 to n - 1). Splitting a
        /// vertex twice is fatal.
        void split(Split_direction direction, std::size_t n);
        /// The i-th child.
        Vertex_wrapper operator[](std::size_t i) const;
        std::size_t nb_children() const;

        /// Appends an image and sets the vertex's position (replacing any earlier one).
        void init(std::shared_ptr<Image> image, std::shared_ptr<Position> position);
        /// Appends a further image (a further value of a setting).
        void add(std::shared_ptr<Image> image);
        bool has_image() const;
        /// The image shown (at the current index); null when the vertex has none.
        std::shared_ptr<Image> image() const;
        std::shared_ptr<Position> position() const;
        Split_direction direction() const;
        Vertex_handle handle() const { return m_vertex; }

        /// Switches off the shown image of this vertex and of every vertex below it.
        void hide();
        /// Calls fn with the shown image of this vertex when it has fewer than two children
        /// (vertices without an image are passed over), then applies fn below, depth first.
        void apply(const std::function<void(std::shared_ptr<Image>)>& fn);
        /// Steps the first setting named id met depth first: forward (wrapping) when diff is 1,
        /// backward (wrapping) otherwise; switches the old value's image off and the new one's
        /// on. Returns the name of the value now selected, or an empty string when no setting
        /// has that id.
        std::string change_setting(const std::string& id, int diff);
        /// Selects the value named `value` in every setting named id; a setting that lacks the
        /// value is fatal. Images are not switched on or off.
        void update_setting(const std::string& id, const std::string& value);

      private:
        Vertex& data() const;
        /// A leaf with two images or more whose position names the setting id.
        bool is_setting(const std::string& id) const;

        Graph_type* m_graph;
        Vertex_handle m_vertex;
    };

    /// A menu with its root (handle 0) and nothing else.
    Menu(const std::string& entity, const std::string& component);

    Vertex_wrapper root();
    void split(Split_direction direction, std::size_t n);
    Vertex_wrapper operator[](std::size_t i);
    std::size_t nb_children();
    void hide();
    void apply(const std::function<void(std::shared_ptr<Image>)>& fn);
    void update_setting(const std::string& id, const std::string& value);
    /// Steps the setting id one value forward; returns the new value's name (empty: no such
    /// setting).
    std::string increment(const std::string& id);
    /// Steps the setting id one value backward; returns the new value's name.
    std::string decrement(const std::string& id);

    const Graph_type& graph() const { return m_graph; }

    std::string str_name() const override;

  private:
    Graph_type m_graph;
    Vertex_handle m_root;
};

} // namespace Component
} // namespace Orvane
