#pragma once

#include <QString>

// The file names of the pages of a published test plan. Every writer of a page and every link to
// it takes its name from here, so that one page has one name whatever the depth it is written at.
namespace PageFiles {

QString MainTestPlan(const QString& planId);  // "MainTestPlan<id>.htm", the whole plan of a site
QString TestPlan(const QString& planId);      // "TestPlan<id>.htm"
QString SubTest(const QString& subTestId);    // "SubTest<id>.htm", at every depth
QString Configuration(const QString& configurationId);
QString Procedure(const QString& procedureId);
// The sheet of a procedure as it occurs under one sub-test: "Procedure<p>_<s>.htm".
QString Procedure(const QString& procedureId, const QString& subTestId);
QString Explorer();  // "Explorer.htm", the navigation page of a site

QString InFolder(const QString& folder, const QString& name);

}  // namespace PageFiles
