#pragma once

namespace vtx::emu {

// How a command may use the database file it names.
enum class OpenMode {
  kCreate,  // create the file and its schema when missing, else use it
  kWrite,   // use an existing database of ours; never create one
  kRead,    // read an existing database of ours; never write, not even its journal mode
};

}  // namespace vtx::emu
