#include "core/link/protocol_bytes.h"

namespace tirna {

Read_request read_request(int k) {
  const int a = packet_address(k);
  return {read_command, static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a & 0xFF),
          static_cast<uint8_t>(packet_data_size)};
}

}  // namespace tirna
