#include "app/process/fatal_error.h"

#include <gtest/gtest.h>

namespace tessafold {
namespace {

TEST(FatalErrorText, HasTheCodeLineOnlyForACodeAndTheMessageLineOnlyForAMessage) {
  EXPECT_EQ(FatalErrorText(4, kIndexBelowOneMessage),
            "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
  EXPECT_EQ(FatalErrorText(0, kStartupWindowFailedMessage), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
  EXPECT_EQ(FatalErrorText(4, ""), "运行时出错!\r\n\r\n错误代码：4\r\n\r\n");
  EXPECT_EQ(FatalErrorText(0, ""), "运行时出错!\r\n\r\n");
  EXPECT_EQ(FatalErrorText(-2147483647 - 1, "x"), "运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n错误信息：x\r\n");
}

TEST(FatalErrorText, AllocationFailureNamesTheBlockSizeInSignedDecimal) {
  EXPECT_EQ(AllocationFailedMessage(108), "分配 108 字节内存失败!");
  EXPECT_EQ(AllocationFailedMessage(-2147483641), "分配 -2147483641 字节内存失败!");
  EXPECT_EQ(FatalErrorText(0, AllocationFailedMessage(9)), "运行时出错!\r\n\r\n错误信息：分配 9 字节内存失败!\r\n");
}

}  // namespace
}  // namespace tessafold
