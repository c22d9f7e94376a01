// The machine's removal lock: one holder at a time across processes, a wait
// that ends when the holder gives it back or dies, and a name that an
// ordinary user cannot make first.
#include <gtest/gtest.h>

#include "tests/contract/contract_world.h"

namespace tw::contract {
namespace {

using Taken = RemovalLock::Taken;

class RemovalLockContract : public ::testing::Test {
 protected:
  std::unique_ptr<ContractWorld> world = MakeContractWorld();
  std::unique_ptr<RemovalLock> lock = world->MakeRemovalLock();
};

TEST_F(RemovalLockContract, IsTakenGivenBackAndTakenAgain) {
  EXPECT_EQ(lock->Take(0), Taken::kYes);
  EXPECT_EQ(lock->Take(0), Taken::kYes) << "taken twice by its holder: still one hold";
  lock->Give();
  {
    const auto other = world->HoldRemovalLockElsewhere();
    EXPECT_EQ(other->Taken(), Taken::kYes) << "one Give gives it back";
  }
  EXPECT_EQ(lock->Take(0), Taken::kYes);
  lock->Give();
}

TEST_F(RemovalLockContract, HeldElsewhereItIsBusyForTheWholeWait) {
  ASSERT_EQ(lock->Take(0), Taken::kYes);
  {
    const auto other = world->HoldRemovalLockElsewhere();
    EXPECT_EQ(other->Taken(), Taken::kBusy);
  }
  lock->Give();
  const auto other = world->HoldRemovalLockElsewhere();
  ASSERT_EQ(other->Taken(), Taken::kYes);
  EXPECT_EQ(lock->Take(0), Taken::kBusy);
  EXPECT_EQ(lock->Take(50), Taken::kBusy);
}

TEST_F(RemovalLockContract, AWaitEndsWhenTheHolderGivesItBack) {
  const auto other = world->HoldRemovalLockElsewhere();
  ASSERT_EQ(other->Taken(), Taken::kYes);
  other->GiveDuringAWait(100);
  EXPECT_EQ(lock->Take(10000), Taken::kYes);
  lock->Give();
}

TEST_F(RemovalLockContract, AHolderThatEndsWithoutGivingItBackLeavesItAbandoned) {
  const auto other = world->HoldRemovalLockElsewhere();
  ASSERT_EQ(other->Taken(), Taken::kYes);
  other->AbandonDuringAWait(100);
  EXPECT_EQ(lock->Take(10000), Taken::kAbandoned);
  lock->Give();
  EXPECT_EQ(lock->Take(0), Taken::kYes) << "abandoned once, not for ever";
  lock->Give();
}

TEST_F(RemovalLockContract, ANameAnOrdinaryUserMadeFirstIsNeverShared) {
  const bool failsClosed = world->SquatRemovalLock();
  EXPECT_EQ(lock->Take(0), failsClosed ? Taken::kRefused : Taken::kYes);
  lock->Give();
}

}  // namespace
}  // namespace tw::contract
