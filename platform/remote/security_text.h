#pragma once
// The security descriptor of a file as the SMB client library writes it,
// "REVISION:1,OWNER:S-1-5-...,GROUP:S-1-...,ACL:S-1-1-0:0/16/0x001f01ff,...",
// turned into the self-relative bytes Windows returns. The text knows no
// control bits and no object entries; its entries are the DACL's, in order.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tabulon::platform::remote {

// The parts `information` (SECURITY_INFORMATION bits) names: owner, group
// and DACL; the text never carries a SACL. Nothing when the text does not
// read: an unknown entry, a SID or number that is not one, an ACE type that
// needs more than a SID and a mask.
std::optional<std::vector<std::uint8_t>> DescriptorFromText(std::string_view text,
                                                            std::uint32_t information);

}  // namespace tabulon::platform::remote
