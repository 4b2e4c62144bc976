#pragma once

namespace dictionary {

// Why a pass over the dictionary could not read it.
enum class OpenStatus {
    Ok,
    Missing,
    NotRegularFile,
    NoPermission,
    Busy,           // another program holds it open and shares no reading
    NotDictionary,  // the program was asked to open a file not named engl.voc
    ReadError,
    OutOfMemory,  // the lines asked for do not fit in memory
};

}  // namespace dictionary
