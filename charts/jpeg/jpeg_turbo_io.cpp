#include "charts/jpeg/jpeg_turbo_io.h"

#include <cstdint>
#include <cstdlib>

#include <jerror.h>

namespace {

void LeaveThroughTrap(j_common_ptr info) {
  JpegErrorTrap* trap = reinterpret_cast<JpegErrorTrap*>(info->err);
  std::longjmp(trap->jump, 1);
}

void DropMessage(j_common_ptr) {}

constexpr size_t kFirstGrowth = 4096;

JpegGrowingDestination* DestinationOf(j_compress_ptr info) {
  return reinterpret_cast<JpegGrowingDestination*>(info->dest);
}

void StartDestination(j_compress_ptr info) {
  JpegGrowingDestination* d = DestinationOf(info);
  d->manager.next_output_byte = d->properties->jpgBytes;
  d->manager.free_in_buffer = d->properties->jpgBytes ? d->capacity : 0;
}

// Called when the whole block is full.
boolean GrowDestination(j_compress_ptr info) {
  JpegGrowingDestination* d = DestinationOf(info);
  const size_t used = d->properties->jpgBytes ? d->capacity : 0;
  const size_t wanted = used < kFirstGrowth ? used + kFirstGrowth : used * 2;
  uint8_t* grown = wanted <= UINT32_MAX ? static_cast<uint8_t*>(std::realloc(d->properties->jpgBytes, wanted)) : nullptr;
  if (!grown)
    ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
  d->properties->jpgBytes = grown;
  d->capacity = wanted;
  d->manager.next_output_byte = grown + used;
  d->manager.free_in_buffer = wanted - used;
  return TRUE;
}

void EndDestination(j_compress_ptr info) {
  JpegGrowingDestination* d = DestinationOf(info);
  const size_t capacity = d->properties->jpgBytes ? d->capacity : 0;
  d->properties->jpgSizeBytes = static_cast<uint32_t>(capacity - d->manager.free_in_buffer);
}

}  // namespace

jpeg_error_mgr* InitJpegErrorTrap(JpegErrorTrap& trap) {
  jpeg_error_mgr* manager = jpeg_std_error(&trap.manager);
  manager->error_exit = LeaveThroughTrap;
  manager->output_message = DropMessage;
  return manager;
}

void UseGrowingDestination(jpeg_compress_struct& info, JpegGrowingDestination& destination,
                           JpegCoreProperties* properties) {
  destination.manager.init_destination = StartDestination;
  destination.manager.empty_output_buffer = GrowDestination;
  destination.manager.term_destination = EndDestination;
  destination.properties = properties;
  destination.capacity = properties->jpgSizeBytes;
  info.dest = &destination.manager;
}
