#include <gtest/gtest.h>

#include "dsp/AcquisitionWorker.h"
#include "dsp/PublishedLevels.h"

namespace {

TEST(PublishedLevels, ReadAsSilenceBeforeTheFirstPublication) {
  for (double level : PublishedLevels()) EXPECT_EQ(level, kLevelFloorDb);
  LevelPublication publication;
  EXPECT_EQ(publication.Snapshot(), SilentLevels());
}

TEST(PublishedLevels, ASnapshotIsTheLatestPublicationWhole) {
  LevelPublication publication;
  LevelSpectrum first = SilentLevels();
  first[20] = -3.0;
  LevelSpectrum second = SilentLevels();
  second[40] = -6.0;
  publication.Publish(first);
  publication.Publish(second);
  EXPECT_EQ(publication.Snapshot(), second);
}

}  // namespace
