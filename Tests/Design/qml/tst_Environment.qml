import QtQuick
import QtTest
import Tessmark.Design

TestCase {
    id: testCase

    name: "Environment"
    width: 800
    height: 600
    visible: true
    when: windowShown

    Component {
        id: metricsComponent
        Item {
            width: 800; height: 600
            property alias outside: outside
            property alias outer: outer
            property alias inner: inner
            property alias innerChild: innerChild
            property alias outerChild: outerChild
            Item { id: outside }
            AdaptiveMetricsReader {
                id: outer
                width: 600; height: 300
                Item { id: outerChild }
                AdaptiveMetricsReader {
                    id: inner
                    width: 300; height: 100
                    Item { Item { id: innerChild } }
                }
            }
        }
    }

    Component {
        id: tourComponent
        Item {
            width: 800; height: 600
            property alias shell: shell
            property alias sidebar: sidebar
            property alias card: card
            property alias twin: twin
            property alias deep: deep
            property alias stranger: stranger
            property alias scrim: scrim
            property int belowClicks: 0

            Item { id: stranger }
            MouseArea { anchors.fill: parent; onClicked: ++parent.belowClicks }
            Item {
                id: shell
                anchors.fill: parent
                Onboarding.collectsFrames: true
                Onboarding.highlight: ""

                Rectangle {
                    id: sidebar
                    x: 10; y: 20; width: 200; height: 400
                    OnboardingSpotlight.highlight: "mainNavigation"
                    OnboardingSpotlight.active: Onboarding.highlight === "mainNavigation"
                }
                Item {
                    x: 250; y: 30; width: 400; height: 300
                    Rectangle {
                        id: card
                        x: 20; y: 10; width: 100; height: 40
                        OnboardingSpotlight.highlight: "demoProjectRow:p1"
                        OnboardingSpotlight.active: Onboarding.highlight === "demoProjectRow:p1"
                        Item { id: deep }
                    }
                    Rectangle {
                        id: twin
                        x: 20; y: 100; width: 50; height: 30
                        OnboardingSpotlight.highlight: "demoProjectRow:p1"
                        OnboardingSpotlight.active: false
                    }
                }
            }
            OnboardingScrim {
                id: scrim
                anchors.fill: parent
                opacity: 0.4
                visible: false
                cutoutInGlobal: shell.Onboarding.frames[shell.Onboarding.highlight]
            }
        }
    }

    function test_metricsFollowTheNearestReader() {
        const root = createTemporaryObject(metricsComponent, testCase)
        compare(root.outside.AdaptiveMetrics.width, 390)
        verify(root.outside.AdaptiveMetrics.isCompact)
        compare(root.outside.AdaptiveMetrics.horizontalSizeClass, SizeClass.Compact)
        compare(root.outerChild.AdaptiveMetrics.width, 600)
        verify(!root.outerChild.AdaptiveMetrics.isCompact)
        compare(root.innerChild.AdaptiveMetrics.width, 300)
        verify(root.innerChild.AdaptiveMetrics.isCompact)
        // The reader itself sees what is around it.
        compare(root.inner.AdaptiveMetrics.width, 600)
        // Moved elsewhere, an item reads its new surroundings.
        root.outerChild.parent = root.inner
        compare(root.outerChild.AdaptiveMetrics.width, 300)
        root.outerChild.parent = root
        compare(root.outerChild.AdaptiveMetrics.width, 390)
    }

    function test_metricsFollowResizesAndSizeClass() {
        const root = createTemporaryObject(metricsComponent, testCase)
        for (const [width, sizeClass, compact] of [[519.5, SizeClass.Regular, true], [520, SizeClass.Regular, false],
                                                   [520, SizeClass.Compact, true], [400, SizeClass.Regular, true]]) {
            root.outer.width = width
            root.outer.horizontalSizeClass = sizeClass
            compare(root.outerChild.AdaptiveMetrics.isCompact, compact, width + "/" + sizeClass)
        }
    }

    function test_highlightReachesEveryItemBelowTheWriter() {
        const root = createTemporaryObject(tourComponent, testCase)
        compare(root.deep.Onboarding.highlight, "")
        root.shell.Onboarding.highlight = "demoProjectRow:p1"
        compare(root.deep.Onboarding.highlight, "demoProjectRow:p1")
        compare(root.stranger.Onboarding.highlight, "")
    }

    function test_activeSpotlightRingsAndReportsItsOwnFrame() {
        const root = createTemporaryObject(tourComponent, testCase)
        const frame = () => root.shell.Onboarding.frames["demoProjectRow:p1"]
        compare(root.sidebar.OnboardingSpotlight.ring, null)
        compare(Object.keys(root.shell.Onboarding.frames).length, 0)

        root.shell.Onboarding.highlight = "demoProjectRow:p1"
        verify(root.card.OnboardingSpotlight.active)
        const ring = root.card.OnboardingSpotlight.ring
        verify(ring !== null)
        compare(Qt.rect(ring.x, ring.y, ring.width, ring.height), Qt.rect(-6, -6, 112, 52))
        compare(frame(), Qt.rect(270, 40, 100, 40))

        // The report follows the element.
        root.card.parent.x = 300
        root.card.width = 120
        compare(frame(), Qt.rect(320, 40, 120, 40))
        compare(root.card.OnboardingSpotlight.ring.width, 132)

        // A later report wins; withdrawing it restores the earlier one.
        root.twin.OnboardingSpotlight.active = true
        compare(frame(), Qt.rect(320, 130, 50, 30))
        root.twin.OnboardingSpotlight.active = false
        compare(frame(), Qt.rect(320, 40, 120, 40))

        // The demo row of another project is another target.
        root.shell.Onboarding.highlight = "demoProjectRow:p2"
        compare(root.card.OnboardingSpotlight.ring, null)
        compare(frame(), undefined)
    }

    function test_scrimCutsItsHoleAndTakesEveryClick() {
        const root = createTemporaryObject(tourComponent, testCase)
        root.shell.Onboarding.highlight = "mainNavigation"
        mouseClick(root, 700, 500)
        compare(root.belowClicks, 1)
        root.scrim.visible = true
        verify(root.scrim.hasHole)
        compare(root.scrim.hole, Qt.rect(2, 12, 216, 416))
        mouseClick(root, 700, 500)
        mouseClick(root, 100, 200) // inside the hole
        compare(root.belowClicks, 1)
        root.shell.Onboarding.highlight = ""
        verify(!root.scrim.hasHole)
        root.shell.Onboarding.highlight = "mainNavigation"
        root.sidebar.width = 1
        verify(!root.scrim.hasHole)
    }
}
