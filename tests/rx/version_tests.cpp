// The code generator's version record, linked in from its source: the model
// libraries carry it but keep it to themselves, so no host can call it.
#include "Version.h"

#include <gtest/gtest.h>

TEST(RxVersion, PrintsTheSixLinesOfTheRecord)
{
    ::testing::internal::CaptureStdout();
    QuenrixCodeGen::version();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "$Id: File Description  Marlowind 2013.08 IBIS-AMI Model $\n"
              "$Id: File Version      2013.08 $\n"
              "$Id: Product Name      Marlowind $\n"
              "$Id: Product Version   2013.08 $\n"
              "$Id: Company Name       $\n"
              "$Id: Legal Copyright    $\n");
}
