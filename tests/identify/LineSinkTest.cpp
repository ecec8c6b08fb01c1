#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "identify/LineSink.h"

namespace relicor {
namespace {

TEST(LineSinkTest, TextExportEndsEveryLineWithCrLf) {
  LineSink sink;
  sink.WriteReportLine("before");
  sink.SetTextExport(true);
  sink.WriteReportLine("File : A.ITM");
  sink.WriteReportLine("");
  sink.SetTextExport(false);
  sink.WriteReportLine("after");
  EXPECT_EQ(sink.TakeExportText(), "File : A.ITM\r\n\r\n");
  EXPECT_EQ(sink.ExportText(), "");
  EXPECT_EQ(sink.OutputList().size(), 4u);
}

TEST(LineSinkTest, HtmlRowsOfANewItem) {
  LineSink sink;
  sink.SetHtml(true);
  // The report opens the row with its own name cell and marks the item new.
  sink.WritePageLine("<TR>");
  sink.WritePageText("<TD NOWRAP>");
  sink.WritePageLine("NAME</TD>");
  sink.SetFirstCellWritten(true);
  sink.SetPendingLabels(1);
  sink.WriteReportLine("+20% Damage");
  sink.WriteReportLine("Durability 20/20");
  sink.WriteReportLine("");
  EXPECT_EQ(sink.TakePageText(),
            "<TR>\r\n<TD NOWRAP>NAME</TD>\r\n"
            "<TD>+20% Damage</TD>\r\n</TR>\r\n"
            "<TR><TD>= New =</TD>\r\n<TD>Durability 20/20</TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD></TD>\r\n<TD></TD>\r\n</TR>\r\n");
  EXPECT_EQ(sink.PendingLabels(), 0);
  EXPECT_FALSE(sink.FirstCellWritten());
}

TEST(LineSinkTest, HtmlLabelGoesToTheFirstRowWithoutNameCell) {
  LineSink sink;
  sink.SetHtml(true);
  sink.SetPendingLabels(1);
  sink.WriteReportLine("<I>x</I>");
  sink.WriteReportLine("y");
  EXPECT_EQ(sink.PageText(),
            "<TR><TD>= New =</TD>\r\n<TD><I>x</I></TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD></TD>\r\n<TD>y</TD>\r\n</TR>\r\n");
}

}  // namespace
}  // namespace relicor
