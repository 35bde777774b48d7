#pragma once

#include <string>
#include <string_view>

namespace Orvane {

/// A fixed key of the store: an entity name and a component name, both static text. The keys
/// that systems share are declared once as Store_key constants in Keys.h; Content and
/// System::Base take them wherever they take the two names, and build no string on a lookup.
struct Store_key {
    std::string_view entity;
    std::string_view component;

    /// "entity:component", for messages.
    std::string str() const {
        std::string out;
        out.reserve(entity.size() + 1 + component.size());
        return out.append(entity).append(1, ':').append(component);
    }
};

} // namespace Orvane
