#include <string>
#include <utility>
#include <vector>

#include <Orvane/Assets/Packaged_asset_manager.h>
#include <Orvane/Component/Condition.h>
#include <Orvane/Component/Image.h>
#include <Orvane/Component/Locale.h>
#include <Orvane/Component/Simple.h>
#include <Orvane/Keys.h>
#include <Orvane/System/File_IO.h>
#include <Orvane/Third_party/SDL_locale.h>
#include <Orvane/Utils/choose_locale.h>
#include <Orvane/Utils/error.h>
#include <Orvane/Utils/helpers.h>

namespace Orvane::System {

using Third_party::Yaml;

void File_IO::read_locale() {
    Yaml file("data/locale.yaml", false, false);
    ORVANE_CHECK(file.parse(), "Can't open data/locale.yaml");
    const Yaml::Node& locales = file["locales"];
    ORVANE_CHECK(locales.size() > 0, "data/locale.yaml: locales is empty");

    auto current = m_content.get<Component::Simple<std::string>>(Key::game_current_locale);
    std::vector<std::string> available;
    auto conditional = m_content.set_fac<Component::Simple_conditional<std::string>>(
        Fast_access_component::GAME_LOCALE, Key::game_locale, current);

    std::string source;
    std::vector<std::pair<std::string, std::shared_ptr<Component::Locale>>> tables;
    for (std::size_t i = 0; i < locales.size(); ++i) {
        const std::string id = locales[i]["id"].string();
        available.push_back(id);
        if (i == 0) {
            source = id;
            conditional->add(id, nullptr);
        } else {
            auto table = std::make_shared<Component::Locale>("Game", "locale");
            conditional->add(id, table);
            tables.emplace_back(id, table);
        }
        m_content.set<Component::Simple<std::string>>(Key::locale_entity(id), "description",
                                                      locales[i]["description"].string());
    }
    m_content.set<Component::Vector<std::string>>(Key::game_available_locales, available);

    const Yaml::Node& lines = file["lines"];
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Yaml::Node& line = lines[i];
        const std::string& text = line[source].string();
        for (const auto& [id, table] : tables)
            table->add(text, line[id].string());
    }

    const std::string* cmdline = nullptr;
    auto option = m_content.request<Component::Simple<std::string>>(Key::cmdline_locale);
    if (option)
        cmdline = &option->value();
    const Locale_choice choice =
        choose_locale(current->value(), Third_party::get_locales(), available, cmdline);
    for (const std::string& text : choice.warnings)
        warning(text);
    if (choice.locale != current->value())
        current->set(choice.locale);
    file.root().warn_unknown_keys();
}

std::shared_ptr<Component::Base>
File_IO::load_locale_dependent_image(const std::string& entity, const std::string& component,
                                     const std::string& picture, const Image_maker& make_image,
                                     bool store) {
    std::shared_ptr<Component::Image> base = make_image(picture);
    const std::vector<std::string> locales =
        m_content.get<Component::Vector<std::string>>(Key::game_available_locales)->value();
    ORVANE_CHECK(!locales.empty(), "Game:available_locales is empty");

    std::shared_ptr<Component::Base> result;
    if (locales.size() > 1) {
        auto current = m_content.get<Component::Simple<std::string>>(Key::game_current_locale);
        auto conditional =
            std::make_shared<Component::Simple_conditional<std::string>>(entity, component, current);
        conditional->add(locales[0], base);
        const std::string stem = picture.size() >= 3 ? picture.substr(0, picture.size() - 3) : "";
        bool every_variant = true;
        for (std::size_t i = 1; i < locales.size(); ++i) {
            const std::string variant = stem + locales[i] + ".png";
            if (!Packaged_asset_manager::exists(variant)) {
                every_variant = false;
                break;
            }
            conditional->add(locales[i], make_image(variant));
        }
        if (every_variant)
            result = conditional;
    }
    if (!result)
        result = std::make_shared<Component::Image>(entity, component, base);
    if (store)
        m_content.set(result);
    return result;
}

void File_IO::create_locale_dependent_text(const std::string& entity,
                                           const std::shared_ptr<Component::Font>& font,
                                           const std::string& color, const std::string& text,
                                           int z) {
    const std::vector<std::string> locales =
        m_content.get<Component::Vector<std::string>>(Key::game_available_locales)->value();
    ORVANE_CHECK(!locales.empty(), "Game:available_locales is empty");

    auto render = [&](const std::string& line) {
        auto image = std::make_shared<Component::Image>(entity, "image", font, color, line);
        image->z() = z;
        image->set_scale(0.75);
        image->set_collision(Component::Collision_type::UNCLICKABLE);
        image->on() = false;
        return image;
    };

    if (locales.size() == 1) {
        m_content.set(render(text));
        return;
    }
    auto current = m_content.get<Component::Simple<std::string>>(Key::game_current_locale);
    auto conditional = m_content.set<Component::Simple_conditional<std::string>>(entity, "image",
                                                                                 current);
    const std::string saved = current->value();
    for (const std::string& id : locales) {
        current->set(id);
        conditional->add(id, render(locale(text)));
    }
    current->set(saved);
}

} // namespace Orvane::System
