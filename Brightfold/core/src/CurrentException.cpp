#include <Brightfold/CurrentException.h>
#include <exception>

namespace brightfold {

std::string describeCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "An unknown error occurred.";
    }
}

} // namespace brightfold
