// The convergence of difference scenarios: for a structure A and a target B, the scenario of
// differences from A to B is written through korvalith.dll's exports (inside a recording, as a
// host writes it) and run on A with scriptExecute; the result must equal B in every aspect the
// difference carries, and a second difference from the result to B must have no statement in
// sections 1 to 10.
#pragma once

#include "recording/session_fixture.h"

#include "core/structure.h"

#include <string>
#include <vector>

// What one pair gave.
struct ConvergenceOutcome {
    std::vector<std::string> differences;      // the result against B
    std::vector<std::string> secondStatements; // statements of the second difference, sections 1-10
};

class ConvergenceTest : public SessionTest {
protected:
    // Applies the difference from `a` to `b` on a model holding `a` and compares.
    ConvergenceOutcome Converge(const zk::Structure& a, const zk::Structure& b);

private:
    std::string WriteStructure(const zk::Structure& structure, const std::string& name);
    // scriptStart, scriptDifferenceFile, scriptEnd into `scenario`.
    void WriteDifference(IZModel* model, const std::string& target, const std::string& scenario);
};

// The property value as the platform writes it into a scenario: the variant converted to text,
// in the ANSI code page.
std::string PlatformValueText(const zk::Value& value);

// The lines between the begin and end line of sections 1 to 10 of a difference scenario.
std::vector<std::string> StatementsBeforeRights(const std::string& scenario);
