#pragma once

#include <Orvane/System/Base.h>

namespace Orvane::System {

/// The data-file system: loads the game's data files, rooms and saves into the store and
/// writes the settings and save files. Runs first in every frame.
class File_IO : public Base {
  public:
    /// Creates no component.
    explicit File_IO(Content& content);

    /// Handles pending load, room-change, save and settings requests.
    void run() override;

    /// Reads the settings file into the settings components, or stores the defaults when there
    /// is none. Called once by the engine, before the window opens.
    virtual void read_config();
    /// Reads the game's initial data and requests the first room. Called once by the engine,
    /// after Game:loading_callback exists.
    virtual void read_init();
    /// Writes the settings file from the settings components.
    virtual void write_config();
    /// Writes the save of the slot named by Savegame:id (which must exist) and removes
    /// Savegame:id.
    virtual void write_savefile();
};

} // namespace Orvane::System
