#include "presentation/program_values.h"

namespace cd::presentation {

void SetBrandValues(ProgramValues& program, const platform::Configuration& config) {
    program.brand = MakeBrandValues(config.version, config.hosts.banner);
}

}  // namespace cd::presentation
