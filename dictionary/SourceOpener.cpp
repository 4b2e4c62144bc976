#include "SourceOpener.h"

namespace dictionary {

SourceOpener openerFor(const std::string& path) {
    const std::string name(nameIn(path));
    if (!sameName(name, kFileName)) {
        return [name] { return OpenedSource{OpenStatus::NotDictionary, nullptr, {{}, name}}; };
    }
    const std::string folder = path.substr(0, path.size() - name.size());
    if (!folder.empty() && !enterFolder(folder)) {
        return [where = lookAround(path)] {
            return OpenedSource{OpenStatus::Missing, nullptr, where};
        };
    }
    return fileOpener(name);
}

}  // namespace dictionary
