import QtQuick
import QtQuick.Shapes
import Tessmark.Design

// The diagonal gradient behind the welcome and sign-in screens.
Shape {
    id: root

    ShapePath {
        strokeWidth: -1
        fillGradient: LinearGradient {
            x1: 0
            y1: 0
            x2: root.width
            y2: root.height
            GradientStop { position: 0; color: AppTheme.withOpacity(AppTheme.primary, 0.94) }
            GradientStop { position: 1 / 3; color: AppTheme.withOpacity(AppTheme.primary, 0.78) }
            GradientStop { position: 2 / 3; color: AppTheme.withOpacity(AppTheme.accent, 0.28) }
            GradientStop { position: 1; color: AppTheme.background }
        }
        PathLine { x: root.width; y: 0 }
        PathLine { x: root.width; y: root.height }
        PathLine { x: 0; y: root.height }
        PathLine { x: 0; y: 0 }
    }
}
