#pragma once
// The text form of a security descriptor: owner, group, DACL and SACL as the
// system's own conversion writes them (revision 1, all four parts).
#include <string>

#include "format/security_descriptor.h"

namespace tabulon::format {

// "O:BAG:SYD:PAI(A;OICI;FA;;;SY)...": well-known SIDs and the RIDs of the
// owner's domain by their two-letter aliases, other SIDs in full; rights as
// letter codes when the mask is made of them alone, else in hexadecimal.
std::string SddlText(const SecurityDescriptor& descriptor);

}  // namespace tabulon::format
