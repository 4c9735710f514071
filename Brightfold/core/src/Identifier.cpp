#include <Brightfold/Identifier.h>
#include <uuid/uuid.h>

namespace brightfold {

std::string makeUpperCaseUUID() {
    uuid_t uuid;
    uuid_generate_random(uuid);
    char text[37];
    uuid_unparse_upper(uuid, text);
    return text;
}

} // namespace brightfold
