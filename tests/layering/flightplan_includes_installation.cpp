// Built only by the layering test: a flight-plan unit that reaches up for the registry. It must
// not compile, as the flight-plan library does not see the installation layer's headers.
#include "RdUsrReg.hpp"
#include "read_fpl.hpp"
